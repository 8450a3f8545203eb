#include "platform/x11/X11Screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformscreen.h>

QRect X11Screens::pixelRectOf(const QScreen* screen, qreal) const {
    // The native rectangle in root pixels, exactly as the platform plugin knows it.
    return screen->handle() ? screen->handle()->geometry() : QRect();
}

std::optional<ScreenInfo> X11Screens::mainScreen() const {
    // The screen the user works on is the one under the pointer; X11 has no key-window screen.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return infoOf(screen);
}
