#include "editor/Annotation.h"

#include "platform/Geometry.h"

#include <algorithm>
#include <cmath>

Annotation::Annotation(double uiScale) : m_uiScale(uiScale) {}

QColor Annotation::defaultColor() {
    return QColor(255, 59, 48);
}

QRectF Annotation::bounds() const {
    return QRectF();
}

void Annotation::draw(QPainter&, const QImage*) const {}

bool Annotation::hitTest(const QPointF& point) const {
    const double t = hitTolerance();
    return geometry::containsHalfOpen(geometry::standardized(bounds()).adjusted(-t, -t, t, t), point);
}

void Annotation::move(const QPointF&) {}

std::shared_ptr<Annotation> Annotation::copyAnnotation() const {
    // A plain annotation has no state of its own worth copying, so it stands for itself; one that
    // is not owned by a shared_ptr yet gets an owned twin rather than an empty pointer.
    if (auto self = weak_from_this().lock()) return std::const_pointer_cast<Annotation>(self);
    return std::make_shared<Annotation>(*this);
}

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF d = b - a;
    const double len2 = QPointF::dotProduct(d, d);
    if (len2 == 0.0) return std::hypot(p.x() - a.x(), p.y() - a.y());
    const double t = std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0);
    const QPointF nearest = a + t * d;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}
