#include "platform/QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

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

} // namespace

ScreenInfo QtScreens::infoOf(const QScreen* screen) const {
    const auto conv = converter();
    ScreenInfo info;
    info.displayId = displayIdOf(screen);
    info.name = screen->name();
    info.frame = conv.qtToBottomLeft(QRectF(screen->geometry()));
    info.visibleFrame = conv.qtToBottomLeft(QRectF(screen->availableGeometry()));
    info.scale = screen->devicePixelRatio();
    info.pixelRect = pixelRectOf(screen, info.scale);
    return info;
}

geometry::SpaceConverter QtScreens::converter() const {
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? geometry::SpaceConverter(QRectF(primary->geometry())) : geometry::SpaceConverter();
}

std::vector<ScreenInfo> QtScreens::screens() const {
    std::vector<ScreenInfo> result;
    for (const QScreen* s : orderedScreens())
        result.push_back(infoOf(s));
    return result;
}

QPointF QtScreens::mouseLocation() const {
    return converter().qtToBottomLeft(QPointF(QCursor::pos()));
}
