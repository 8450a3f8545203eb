#pragma once

#include "hud/ToastHUD.h"

#include <QCoreApplication>
#include <QFuture>
#include <QString>
#include <QTimer>

// A sign of life for work that may take seconds: when `work` has not finished after `delayMs`,
// a toast says it is under way. It stays until the work's own result toast replaces it (toasts
// replace each other), or at the latest for `maxSeconds`. Work that finishes sooner shows nothing
// more than its result. Main thread only.
namespace progresstoast {

inline constexpr int defaultDelayMilliseconds = 300;

template <typename T>
void showWhileRunning(const QFuture<T>& work, const QString& message, const QString& symbol,
                      int delayMs = defaultDelayMilliseconds, double maxSeconds = 60.0) {
    QTimer::singleShot(delayMs, QCoreApplication::instance(), [work, message, symbol, maxSeconds] {
        if (!work.isFinished()) ToastHUD::show(message, symbol, maxSeconds);
    });
}

} // namespace progresstoast
