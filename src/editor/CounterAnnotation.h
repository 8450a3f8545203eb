#pragma once

#include "editor/Annotation.h"

// A numbered disc marking a step.
class CounterAnnotation : public Annotation {
  public:
    explicit CounterAnnotation(double uiScale);

    QPointF center;
    int number = 1;
    double radiusPt = 14.0;

    double radius() const { return radiusPt * uiScale(); }

    QRectF bounds() const override;
    void draw(QPainter& painter, const QImage* pixellated) const override;
    bool hitTest(const QPointF& point) const override;
    void move(const QPointF& by) override;
    std::shared_ptr<Annotation> copyAnnotation() const override;
};
