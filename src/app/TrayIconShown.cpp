#include "app/TrayIconShown.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {
// The name Qt gives the window it hands to an embedding tray.
constexpr QLatin1StringView kTrayIconWidget("QSystemTrayIconSys");
} // namespace

void TrayIconShown::then(QObject* context, int longestMs, std::function<void()> then) {
    new TrayIconShown(context, longestMs, std::move(then));
}

TrayIconShown::TrayIconShown(QObject* context, int longestMs, std::function<void()> then)
    : QObject(context), m_then(std::move(then)) {
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(longestMs, this, &TrayIconShown::fire);
}

bool TrayIconShown::eventFilter(QObject* watched, QEvent* event) {
    // After the paint has been handled and flushed: from the event loop.
    if (event->type() == QEvent::Paint && watched->objectName() == kTrayIconWidget)
        QTimer::singleShot(0, this, &TrayIconShown::fire);
    return false;
}

void TrayIconShown::fire() {
    if (m_fired) return;
    m_fired = true;
    QCoreApplication::instance()->removeEventFilter(this);
    if (m_then) m_then();
    deleteLater();
}
