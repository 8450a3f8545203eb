#include "app/CaptureGeometry.h"

#include "platform/Geometry.h"

#include <algorithm>

namespace capturegeometry {

std::optional<ScreenInfo> screenUnderMouse(const std::vector<ScreenInfo>& screens, const QPointF& mouse,
                                           const std::optional<ScreenInfo>& main) {
    for (const ScreenInfo& s : screens)
        if (geometry::containsHalfOpen(s.frame, mouse)) return s;
    if (main) return main;
    if (screens.empty()) return std::nullopt;
    return screens.front();
}

QRect cropRect(const QRectF& r, double scale, int pixelHeight) {
    const QRectF pixels(scale * r.left(), scale * (pixelHeight / scale - r.bottom()), scale * r.width(),
                        scale * r.height());
    return geometry::integralRect(pixels).toRect();
}

std::optional<QRect> clippedCrop(const QRect& crop, const QSize& imageSize) {
    const QRect clipped = crop.intersected(QRect(QPoint(0, 0), imageSize));
    if (clipped.isEmpty()) return std::nullopt;
    return clipped;
}

std::optional<RepeatTarget> repeatTarget(const std::vector<ScreenInfo>& screens, const QRectF& globalRect) {
    for (const ScreenInfo& s : screens)
        if (geometry::intersectionArea(s.frame, globalRect) > 0)
            return RepeatTarget{s, globalRect.translated(-s.frame.topLeft())};
    return std::nullopt;
}

double openedImageScale(int pixelWidth, double pointWidth) {
    const double scale = pointWidth > 0 ? pixelWidth / pointWidth : 1.0;
    return std::max(scale, 1.0);
}

} // namespace capturegeometry
