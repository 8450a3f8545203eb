#include "editor/ShapeAnnotation.h"

#include "platform/Geometry.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

ShapeAnnotation::ShapeAnnotation(Kind kind, const QPointF& start, const QPointF& end, double uiScale)
    : Annotation(uiScale), start(start), end(end), m_kind(kind) {}

QRectF ShapeAnnotation::normalizedRect() const {
    return QRectF(std::min(start.x(), end.x()), std::min(start.y(), end.y()), std::abs(start.x() - end.x()),
                  std::abs(start.y() - end.y()));
}

QRectF ShapeAnnotation::bounds() const {
    return normalizedRect();
}

void ShapeAnnotation::draw(QPainter& painter, const QImage*) const {
    painter.save();
    painter.setPen(QPen(color, strokeWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    switch (m_kind) {
    case Kind::arrow:
        drawArrow(painter);
        break;
    case Kind::line:
        painter.drawLine(start, end);
        break;
    case Kind::rect:
        painter.drawRect(normalizedRect());
        break;
    case Kind::oval:
        painter.drawEllipse(normalizedRect());
        break;
    case Kind::highlight: {
        QColor translucent = color;
        translucent.setAlphaF(0.35f);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillRect(normalizedRect(), translucent);
        break;
    }
    }
    painter.restore();
}

void ShapeAnnotation::drawArrow(QPainter& painter) const {
    const ArrowGeometry arrow = arrowGeometry(start, end, strokeWidthPt, uiScale());
    painter.drawLine(start, arrow.base);
    QPainterPath head;
    head.setFillRule(Qt::WindingFill);
    head.addPolygon(arrow.head);
    head.closeSubpath();
    painter.fillPath(head, color);
}

bool ShapeAnnotation::hitTest(const QPointF& point) const {
    switch (m_kind) {
    case Kind::arrow:
    case Kind::line:
        return distanceToSegment(point, start, end) < hitTolerance() + strokeWidth();
    case Kind::highlight:
        return geometry::containsHalfOpen(normalizedRect(), point);
    case Kind::rect:
    case Kind::oval:
        return hitsOutline(point);
    }
    return false;
}

// Rectangles and ovals are picked on a band around the rectangle's outline (the oval too, which
// makes its corners easy to grab); a shape too thin to have an inside is picked anywhere.
bool ShapeAnnotation::hitsOutline(const QPointF& point) const {
    const double t = hitTolerance();
    const QRectF r = normalizedRect();
    if (!geometry::containsHalfOpen(r.adjusted(-t, -t, t, t), point)) return false;
    const QRectF inner = r.adjusted(t, t, -t, -t);
    if (inner.width() > 0 && inner.height() > 0) return !geometry::containsHalfOpen(inner, point);
    return true;
}

void ShapeAnnotation::move(const QPointF& by) {
    start += by;
    end += by;
}

std::shared_ptr<Annotation> ShapeAnnotation::copyAnnotation() const {
    auto copy = std::make_shared<ShapeAnnotation>(m_kind, start, end, uiScale());
    copy->color = color;
    copy->strokeWidthPt = strokeWidthPt;
    return copy;
}

ArrowGeometry arrowGeometry(const QPointF& start, const QPointF& end, double strokeWidthPt, double uiScale) {
    const QPointF d = end - start;
    const double length = std::hypot(d.x(), d.y());
    // atan2(0, 0) is 0: a zero-length arrow gets a tiny head pointing right.
    const double theta = std::atan2(d.y(), d.x());
    const double c = std::cos(theta), s = std::sin(theta);

    ArrowGeometry arrow;
    arrow.headLength = std::min(14.0 * uiScale + 2.2 * strokeWidthPt * uiScale, 0.35 * std::max(length, 1.0));
    arrow.base = end - arrow.headLength * QPointF(c, s);
    const double halfWidth = 0.31 * arrow.headLength;
    const QPointF across = halfWidth * QPointF(-s, c);
    arrow.head = QPolygonF({end, arrow.base + across, arrow.base - across});
    return arrow;
}
