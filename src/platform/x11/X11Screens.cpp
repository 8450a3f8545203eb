#include "platform/x11/X11Screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformscreen.h>

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
    // The native rectangle in root pixels, exactly as the platform plugin knows it.
    info.pixelRect = screen->handle() ? screen->handle()->geometry() : QRect();
    return info;
}

} // namespace

geometry::SpaceConverter X11Screens::converter() const {
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? geometry::SpaceConverter(QRectF(primary->geometry())) : geometry::SpaceConverter();
}

std::vector<ScreenInfo> X11Screens::screens() const {
    const auto conv = converter();
    std::vector<ScreenInfo> result;
    for (const QScreen* s : orderedScreens()) result.push_back(infoOf(s, conv));
    return result;
}

std::optional<ScreenInfo> X11Screens::mainScreen() const {
    // The screen the user works on is the one under the pointer; X11 has no key-window screen.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return infoOf(screen, converter());
}

QPointF X11Screens::mouseLocation() const { return converter().qtToBottomLeft(QPointF(QCursor::pos())); }
