#pragma once

#include <QRectF>

class QPainter;

namespace hudoutline {

// Two rims just inside the rounded bounds, a dark one outside a light one, so an image window's
// edge shows on any background. Windows drawn without a compositing manager get no shadow, and a
// light rim alone vanishes where a white image sits over a white window.
void strokeContrastRim(QPainter& painter, const QRectF& bounds, double radius);

} // namespace hudoutline
