#include "app/CaptureGeometry.h"

#include "platform/Geometry.h"

#include <algorithm>
#include <cmath>

namespace capturegeometry {

std::optional<ScreenInfo> screenUnderMouse(const std::vector<ScreenInfo>& screens, const QPointF& mouse,
                                           const std::optional<ScreenInfo>& main) {
    for (const ScreenInfo& s : screens)
        if (geometry::containsHalfOpen(s.frame, mouse)) return s;
    if (main) return main;
    if (screens.empty()) return std::nullopt;
    return screens.front();
}

namespace {
// Far beyond any image, yet a rectangle of such edges keeps its width and its right edge within int.
constexpr double pixelLimit = 1 << 29;

double clampedPixel(double v) {
    if (std::isnan(v)) return 0.0;
    return std::clamp(v, -pixelLimit, pixelLimit);
}
} // namespace

QRect cropRect(const QRectF& r, double scale, int pixelHeight) {
    // Edges are clamped before anything becomes an int: a stored area is only text on disk.
    const double left = clampedPixel(scale * r.left());
    const double top = clampedPixel(scale * (pixelHeight / scale - r.bottom()));
    const double right = clampedPixel(scale * r.right());
    const double bottom = clampedPixel(scale * (pixelHeight / scale - r.top()));
    return geometry::integralRect(QRectF(QPointF(left, top), QPointF(right, bottom))).toRect();
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
