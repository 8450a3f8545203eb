#include "editor/PenAnnotation.h"

#include <QPainter>

#include <algorithm>

PenAnnotation::PenAnnotation(double uiScale) : Annotation(uiScale) {}

QPainterPath PenAnnotation::smoothedPath() const {
    QPainterPath path;
    const qsizetype n = points.size();
    if (n <= 1) return path;
    path.moveTo(points[0]);
    for (qsizetype i = 1; i + 1 < n; ++i)
        path.quadTo(points[i], (points[i] + points[i + 1]) / 2.0);
    path.lineTo(points[n - 1]);
    return path;
}

QRectF PenAnnotation::bounds() const {
    if (points.isEmpty()) return QRectF();
    double minX = points[0].x(), maxX = minX, minY = points[0].y(), maxY = minY;
    for (const QPointF& p : points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    return QRectF(minX, minY, maxX - minX, maxY - minY);
}

void PenAnnotation::draw(QPainter& painter, const QImage*) const {
    if (points.size() <= 1) return;
    painter.save();
    painter.setPen(QPen(color, strokeWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(smoothedPath());
    painter.restore();
}

bool PenAnnotation::hitTest(const QPointF& point) const {
    const double reach = hitTolerance() + strokeWidth();
    for (qsizetype i = 0; i + 1 < points.size(); ++i)
        if (distanceToSegment(point, points[i], points[i + 1]) < reach) return true;
    return false;
}

void PenAnnotation::move(const QPointF& by) {
    for (QPointF& p : points)
        p += by;
}

std::shared_ptr<Annotation> PenAnnotation::copyAnnotation() const {
    auto copy = std::make_shared<PenAnnotation>(uiScale());
    copy->points = points;
    copy->color = color;
    copy->strokeWidthPt = strokeWidthPt;
    return copy;
}
