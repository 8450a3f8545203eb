#include "platform/Geometry.h"

#include <cmath>

namespace geometry {

bool containsHalfOpen(const QRectF& rect, const QPointF& point) {
    const QRectF r = standardized(rect);
    return point.x() >= r.left() && point.x() < r.right() && point.y() >= r.top() && point.y() < r.bottom();
}

double intersectionArea(const QRectF& a, const QRectF& b) {
    const QRectF i = standardized(a).intersected(standardized(b));
    if (i.isEmpty()) return 0.0;
    return i.width() * i.height();
}

QRectF standardized(const QRectF& rect) {
    return rect.normalized();
}

QRectF integralRect(const QRectF& rect) {
    const QRectF r = standardized(rect);
    const double x0 = std::floor(r.left());
    const double y0 = std::floor(r.top());
    const double x1 = std::ceil(r.right());
    const double y1 = std::ceil(r.bottom());
    return QRectF(x0, y0, x1 - x0, y1 - y0);
}

QRectF topLeftToBottomLeft(const QRectF& rect, double primaryMaxY) {
    return QRectF(rect.x(), primaryMaxY - (rect.y() + rect.height()), rect.width(), rect.height());
}

QRectF bottomLeftToTopLeft(const QRectF& rect, double primaryMaxY) {
    // The conversion is its own inverse.
    return topLeftToBottomLeft(rect, primaryMaxY);
}

QPointF bottomLeftToTopLeft(const QPointF& point, double primaryMaxY) {
    return QPointF(point.x(), primaryMaxY - point.y());
}

SpaceConverter::SpaceConverter(const QRectF& primaryQtGeometry) : m_primary(primaryQtGeometry) {}

QPointF SpaceConverter::qtToBottomLeft(const QPointF& p) const {
    return QPointF(p.x() - m_primary.x(), m_primary.height() - (p.y() - m_primary.y()));
}

QRectF SpaceConverter::qtToBottomLeft(const QRectF& r) const {
    return topLeftToBottomLeft(qtToTopLeft(r), primaryMaxY());
}

QPointF SpaceConverter::bottomLeftToQt(const QPointF& p) const {
    return QPointF(p.x() + m_primary.x(), (m_primary.height() - p.y()) + m_primary.y());
}

QRectF SpaceConverter::bottomLeftToQt(const QRectF& r) const {
    return topLeftToQt(bottomLeftToTopLeft(r, primaryMaxY()));
}

QRectF SpaceConverter::qtToTopLeft(const QRectF& r) const {
    return r.translated(-m_primary.topLeft());
}

QRectF SpaceConverter::topLeftToQt(const QRectF& r) const {
    return r.translated(m_primary.topLeft());
}

} // namespace geometry
