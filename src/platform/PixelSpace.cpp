#include "platform/PixelSpace.h"

#include "platform/Geometry.h"

namespace pixelspace {

std::optional<ScreenInfo> screenForPixels(const QRect& pixels, const std::vector<ScreenInfo>& screens) {
    if (screens.empty()) return std::nullopt;
    const ScreenInfo* best = &screens.front();
    double bestArea = geometry::intersectionArea(QRectF(best->pixelRect), QRectF(pixels));
    for (const ScreenInfo& s : screens) {
        const double area = geometry::intersectionArea(QRectF(s.pixelRect), QRectF(pixels));
        if (area > bestArea) {
            best = &s;
            bestArea = area;
        }
    }
    return *best;
}

QRectF pixelsToTopLeftPoints(const QRect& pixels, const std::vector<ScreenInfo>& screens) {
    const auto screen = screenForPixels(pixels, screens);
    if (!screen || screen->pixelRect.isEmpty() || screen->scale <= 0.0) return QRectF(pixels);
    const double primaryMaxY = screens.front().frame.bottom();
    const QRectF screenTopLeft = geometry::bottomLeftToTopLeft(screen->frame, primaryMaxY);
    const double s = screen->scale;
    return QRectF(screenTopLeft.x() + (pixels.x() - screen->pixelRect.x()) / s,
                  screenTopLeft.y() + (pixels.y() - screen->pixelRect.y()) / s, pixels.width() / s,
                  pixels.height() / s);
}

} // namespace pixelspace
