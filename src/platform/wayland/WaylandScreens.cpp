#include "platform/wayland/WaylandScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace {

quint32 displayIdOf(const QScreen* screen) {
    // Stable while the output stays connected; 0 is reserved for "no display".
    const quint32 id = static_cast<quint32>(qHash(screen->name()));
    return id == 0 ? 1 : id;
}

QList<QScreen*> orderedScreens() {
    QList<QScreen*> list = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary && list.removeOne(primary)) list.prepend(primary);
    return list;
}

ScreenInfo infoOf(const QScreen* screen, const geometry::SpaceConverter& conv) {
    ScreenInfo info;
    info.displayId = displayIdOf(screen);
    info.name = screen->name();
    info.frame = conv.qtToBottomLeft(QRectF(screen->geometry()));
    info.visibleFrame = conv.qtToBottomLeft(QRectF(screen->availableGeometry()));
    info.scale = screen->devicePixelRatio();
    // The output's own pixels, placed as the compositor lays the outputs out.
    const QRect g = screen->geometry();
    info.pixelRect = QRect(QPoint(qRound(g.x() * info.scale), qRound(g.y() * info.scale)),
                           QSize(qRound(g.width() * info.scale), qRound(g.height() * info.scale)));
    return info;
}

} // namespace

geometry::SpaceConverter WaylandScreens::converter() const {
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? geometry::SpaceConverter(QRectF(primary->geometry())) : geometry::SpaceConverter();
}

std::vector<ScreenInfo> WaylandScreens::screens() const {
    const auto conv = converter();
    std::vector<ScreenInfo> result;
    for (const QScreen* s : orderedScreens()) result.push_back(infoOf(s, conv));
    return result;
}

std::optional<ScreenInfo> WaylandScreens::mainScreen() const {
    QScreen* screen = nullptr;
    if (QWindow* focused = QGuiApplication::focusWindow()) screen = focused->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return infoOf(screen, converter());
}

QPointF WaylandScreens::mouseLocation() const { return converter().qtToBottomLeft(QPointF(QCursor::pos())); }
