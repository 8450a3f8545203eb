#pragma once

#include "platform/Geometry.h"

#include <QPointer>
#include <QString>

class ToastWindow;
struct ScreenInfo;

// The one short message on screen, near the bottom centre of the main screen. A newer toast
// replaces the current one at once; each fades out by itself after its duration. The
// confirmation style `none` switches toasts off entirely.
class ToastHUD {
  public:
    ToastHUD() = delete;

    static constexpr double defaultDuration = 2.2;

    // Callable from any thread. The toast appears on a later turn of the main event loop, even
    // when called there.
    static void show(const QString& message, const QString& symbol, double duration = defaultDuration);

    // Takes the current toast away at once, without fading. Main thread only.
    static void dismiss();

    // The toast on screen or fading, or none. Main thread only.
    static ToastWindow* current();

    // Builds a toast and places it on `screen` without showing it (for checks that look at one).
    // `converter` maps the screen's bottom-left frame to Qt's global coordinates.
    static ToastWindow* build(const QString& message, const QString& symbol, const ScreenInfo& screen,
                              const geometry::SpaceConverter& converter, bool translucent);

  private:
    static void showNow(const QString& message, const QString& symbol, double duration);
    static void fadeFinished(ToastWindow* toast);

    static QPointer<ToastWindow> s_panel;
};
