#pragma once

#include "editor/Annotation.h"

// A region shown pixellated: a window onto the pixellated copy of the whole base image.
class BlurAnnotation : public Annotation {
  public:
    explicit BlurAnnotation(double uiScale);

    QRectF rect;

    QRectF bounds() const override;
    void draw(QPainter& painter, const QImage* pixellated) const override;
    bool hitTest(const QPointF& point) const override;
    void move(const QPointF& by) override;
    std::shared_ptr<Annotation> copyAnnotation() const override;
};
