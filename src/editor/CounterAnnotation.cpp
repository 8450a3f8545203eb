#include "editor/CounterAnnotation.h"

#include "editor/AnnotationText.h"
#include "editor/BottomLeftPainter.h"

#include <QPainter>

#include <cmath>

CounterAnnotation::CounterAnnotation(double uiScale) : Annotation(uiScale) {}

QRectF CounterAnnotation::bounds() const {
    const double r = radius();
    return QRectF(center.x() - r, center.y() - r, 2 * r, 2 * r);
}

namespace {

// The disc alone, as an image whose alpha casts the shadow; one pixel of room for antialiasing.
QImage discShape(double r, const QColor& color) {
    const int side = static_cast<int>(std::ceil(2 * r)) + 2;
    QImage shape(side, side, QImage::Format_ARGB32_Premultiplied);
    if (shape.isNull()) return shape;
    shape.fill(Qt::transparent);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(side / 2.0, side / 2.0), r, r);
    return shape;
}

} // namespace

void CounterAnnotation::draw(QPainter& painter, const QImage*) const {
    const double r = radius();
    if (!(r > 0)) return;
    painter.save();
    const QImage shape = discShape(r, color);
    const QRectF shapeRect(center.x() - shape.width() / 2.0, center.y() - shape.height() / 2.0, shape.width(),
                           shape.height());
    bottomleft::drawSoftShadow(painter, shape, shapeRect, QPointF(0, -uiScale()), 3.0 * uiScale(),
                               QColor(0, 0, 0, 102));

    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(center, r, r);

    const QString label = QString::number(number);
    const double fontSize = radiusPt * 1.05 * uiScale();
    const QSizeF size = annotationtext::measure(label, fontSize);
    annotationtext::drawUpright(painter, label, fontSize, Qt::white,
                                center - QPointF(size.width() / 2.0, size.height() / 2.0));
    painter.restore();
}

bool CounterAnnotation::hitTest(const QPointF& point) const {
    const QPointF d = point - center;
    return std::hypot(d.x(), d.y()) <= radius() + 6.0 * uiScale();
}

void CounterAnnotation::move(const QPointF& by) {
    center += by;
}

std::shared_ptr<Annotation> CounterAnnotation::copyAnnotation() const {
    auto copy = std::make_shared<CounterAnnotation>(uiScale());
    copy->center = center;
    copy->number = number;
    copy->radiusPt = radiusPt;
    copy->color = color;
    return copy;
}
