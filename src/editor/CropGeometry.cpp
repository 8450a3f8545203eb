#include "editor/CropGeometry.h"

#include "platform/Geometry.h"

#include <QSize>

#include <cmath>

namespace cropgeometry {

QRectF clampToCanvas(const QRectF& viewRect, const QSizeF& canvasPoints) {
    const QRectF canvas(QPointF(0, 0), canvasPoints);
    const QRectF clamped = geometry::standardized(viewRect).intersected(canvas);
    return clamped.isValid() ? clamped : QRectF();
}

bool isLargeEnough(const QRectF& viewRect) {
    return viewRect.width() > minimumSide && viewRect.height() > minimumSide;
}

namespace {

// Products like 0.3 × 10 land a hair off the whole number they stand for; without this, rounding
// the far edge up would cut one pixel too many.
double snapped(double value) {
    const double nearest = std::round(value);
    return std::abs(value - nearest) < 1e-6 ? nearest : value;
}

} // namespace

std::optional<QRect> pixelCutRect(const QRectF& viewRect, double canvasHeight, double scale,
                                  const QSize& bitmap) {
    const QRectF r = geometry::standardized(viewRect);
    const double x0 = snapped(r.x() * scale);
    const double y0 = snapped((canvasHeight - r.bottom()) * scale);
    const QRectF pixels(x0, y0, snapped(x0 + r.width() * scale) - x0, snapped(y0 + r.height() * scale) - y0);
    const QRectF integral = geometry::integralRect(pixels);
    const QRect cut = QRect(static_cast<int>(integral.x()), static_cast<int>(integral.y()),
                            static_cast<int>(integral.width()), static_cast<int>(integral.height()))
                          .intersected(QRect(QPoint(0, 0), bitmap));
    if (cut.isEmpty()) return std::nullopt;
    return cut;
}

QPointF annotationShift(const QRectF& viewRect, double scale) {
    const QRectF r = geometry::standardized(viewRect);
    return QPointF(-r.x() * scale, -r.y() * scale);
}

} // namespace cropgeometry
