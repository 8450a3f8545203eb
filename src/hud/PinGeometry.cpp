#include "hud/PinGeometry.h"

#include <algorithm>
#include <cmath>

namespace pingeometry {

QSizeF windowSize(const QSizeF& imagePointSize, double scaleFactor) {
    const auto side = [scaleFactor](double length) {
        const double scaled = length * scaleFactor;
        return std::isfinite(scaled) ? std::max(scaled, 1.0) : 1.0;
    };
    return QSizeF(side(imagePointSize.width()), side(imagePointSize.height()));
}

QRectF initialFrame(const QSizeF& size, const std::optional<QPointF>& near,
                    const std::optional<ScreenInfo>& screen) {
    if (near) return QRectF(*near, size);
    if (!screen) return QRectF(QPointF(0, 0), size);
    return centredOn(screen->visibleFrame, size);
}

double scrollDelta(const QPoint& pixelDelta, const QPoint& angleDelta, bool reverse) {
    const double d = !pixelDelta.isNull() ? pixelDelta.y() : angleDelta.y() / 120.0 * pointsPerWheelNotch;
    return reverse ? -d : d;
}

double zoomedScale(double scaleFactor, double delta) {
    const double next = scaleFactor * (1.0 + delta / deltaPerDoubling);
    if (std::isnan(next)) return scaleFactor;
    return std::clamp(next, minScale, maxScale);
}

QRectF centredOn(const QRectF& frame, const QSizeF& size) {
    const QPointF centre = frame.center();
    return QRectF(centre.x() - size.width() * 0.5, centre.y() - size.height() * 0.5, size.width(),
                  size.height());
}

} // namespace pingeometry
