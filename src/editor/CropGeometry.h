#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <optional>

// The arithmetic of cropping the editor's canvas. A crop is dragged in view points (bottom-left
// origin, y up); the bitmap is cut in top-down pixel rows, and the annotations, which live in
// bottom-left pixels, move so that the crop's bottom-left corner becomes their new origin.
namespace cropgeometry {

// A dragged crop must be wider and taller than this, in points, to crop anything.
inline constexpr double minimumSide = 4.0;

// The dragged rectangle limited to the canvas (0, 0, canvas size). A rectangle hanging over an edge
// would otherwise cut a clipped bitmap while the annotations moved by the unclipped corner.
QRectF clampToCanvas(const QRectF& viewRect, const QSizeF& canvasPoints);

// Whether a (clamped) crop rectangle is large enough to crop.
bool isLargeEnough(const QRectF& viewRect);

// The top-down pixel rectangle to cut for `viewRect` on a canvas `canvasHeight` points high at
// `scale` pixels per point: origin rounded down, far edges rounded up, then limited to the bitmap.
// None when nothing of the bitmap is left.
std::optional<QRect> pixelCutRect(const QRectF& viewRect, double canvasHeight, double scale,
                                  const QSize& bitmap);

// How far the annotations move, in bottom-left pixels, for a crop of `viewRect`.
QPointF annotationShift(const QRectF& viewRect, double scale);

} // namespace cropgeometry
