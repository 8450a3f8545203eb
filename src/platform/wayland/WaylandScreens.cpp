#include "platform/wayland/WaylandScreens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

QRect WaylandScreens::pixelRectOf(const QScreen* screen, qreal scale) const {
    // The output's own pixels, placed as the compositor lays the outputs out.
    const QRect g = screen->geometry();
    return QRect(QPoint(qRound(g.x() * scale), qRound(g.y() * scale)),
                 QSize(qRound(g.width() * scale), qRound(g.height() * scale)));
}

std::optional<ScreenInfo> WaylandScreens::mainScreen() const {
    QScreen* screen = nullptr;
    if (QWindow* focused = QGuiApplication::focusWindow()) screen = focused->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return infoOf(screen);
}
