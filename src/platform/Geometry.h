#pragma once

#include <QPointF>
#include <QRectF>

// Two global spaces meet in this program:
//  - bottom-left space: points, origin at the bottom-left corner of the primary screen, y upwards.
//    Screen frames and all overlay geometry live here.
//  - top-left space: points, origin at the top-left corner of the primary screen, y downwards.
//    Window bounds from the window list live here.
// Qt's own global coordinates (origin at the top-left of the whole virtual desktop) are converted
// at the platform boundary through a SpaceConverter, nowhere else.
namespace geometry {

// Minimum edges belong to the rectangle, maximum edges do not.
bool containsHalfOpen(const QRectF& rect, const QPointF& point);

// Area of the intersection, 0 when the rectangles do not overlap.
double intersectionArea(const QRectF& a, const QRectF& b);

// The smallest rectangle with integral edges that contains `rect` (the rectangle is standardized first).
QRectF integralRect(const QRectF& rect);

// Same rectangle with non-negative width and height.
QRectF standardized(const QRectF& rect);

// Top-left space <-> bottom-left space, through the primary screen's height (its frame's maxY).
QRectF topLeftToBottomLeft(const QRectF& rect, double primaryMaxY);
QRectF bottomLeftToTopLeft(const QRectF& rect, double primaryMaxY);
QPointF bottomLeftToTopLeft(const QPointF& point, double primaryMaxY);

// Converts between Qt's global device-independent coordinates and the two spaces above.
class SpaceConverter {
  public:
    SpaceConverter() = default;
    // primaryQtGeometry: the primary screen's geometry in Qt global coordinates.
    explicit SpaceConverter(const QRectF& primaryQtGeometry);

    double primaryMaxY() const { return m_primary.height(); }

    QPointF qtToBottomLeft(const QPointF& qtPoint) const;
    QRectF qtToBottomLeft(const QRectF& qtRect) const;
    QPointF bottomLeftToQt(const QPointF& point) const;
    QRectF bottomLeftToQt(const QRectF& rect) const;
    QRectF qtToTopLeft(const QRectF& qtRect) const;
    QRectF topLeftToQt(const QRectF& rect) const;

  private:
    QRectF m_primary;
};

} // namespace geometry
