#include "editor/BlurAnnotation.h"

#include "editor/BottomLeftPainter.h"
#include "platform/Geometry.h"

#include <QPainter>

#include <cmath>

BlurAnnotation::BlurAnnotation(double uiScale) : Annotation(uiScale) {}

QRectF BlurAnnotation::bounds() const {
    return rect;
}

void BlurAnnotation::draw(QPainter& painter, const QImage* pixellated) const {
    if (!pixellated || pixellated->isNull()) return;
    if (std::abs(rect.width()) <= 1 || std::abs(rect.height()) <= 1) return;
    painter.save();
    painter.setClipRect(geometry::standardized(rect), Qt::IntersectClip);
    // The pixellated copy covers the base pixel for pixel, so the clip shows the cells under rect.
    bottomleft::drawImage(painter, QRectF(0, 0, pixellated->width(), pixellated->height()), *pixellated);
    painter.restore();
}

bool BlurAnnotation::hitTest(const QPointF& point) const {
    return geometry::containsHalfOpen(rect, point);
}

void BlurAnnotation::move(const QPointF& by) {
    rect.translate(by);
}

std::shared_ptr<Annotation> BlurAnnotation::copyAnnotation() const {
    auto copy = std::make_shared<BlurAnnotation>(uiScale());
    copy->rect = rect;
    return copy;
}
