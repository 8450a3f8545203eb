#include "editor/TextAnnotation.h"

#include "editor/AnnotationText.h"

#include <QPainter>

#include <algorithm>

TextAnnotation::TextAnnotation(double uiScale) : Annotation(uiScale) {}

QSizeF TextAnnotation::textSize() const {
    const QSizeF laidOut = annotationtext::measure(text, fontPixelSize());
    return QSizeF(std::max(laidOut.width(), 10.0), std::max(laidOut.height(), 10.0));
}

QRectF TextAnnotation::bounds() const {
    return QRectF(origin, textSize());
}

void TextAnnotation::draw(QPainter& painter, const QImage*) const {
    if (text.isEmpty()) return;
    painter.save();
    const annotationtext::Shadow shadow{QPointF(0, -uiScale()), 2.0 * uiScale(), QColor(0, 0, 0, 128)};
    annotationtext::drawUprightWithShadow(painter, text, fontPixelSize(), color, origin, shadow);
    painter.restore();
}

void TextAnnotation::move(const QPointF& by) {
    origin += by;
}

std::shared_ptr<Annotation> TextAnnotation::copyAnnotation() const {
    auto copy = std::make_shared<TextAnnotation>(uiScale());
    copy->text = text;
    copy->origin = origin;
    copy->fontSizePt = fontSizePt;
    copy->color = color;
    return copy;
}
