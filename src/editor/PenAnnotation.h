#pragma once

#include "editor/Annotation.h"

#include <QList>
#include <QPainterPath>

// A freehand stroke through the points the pointer passed, smoothed when drawn.
class PenAnnotation : public Annotation {
  public:
    explicit PenAnnotation(double uiScale);

    QList<QPointF> points;

    // Quadratic curves through the midpoints of consecutive points, each controlled by the point
    // between them, ending with a straight piece to the last point. Empty for fewer than 2 points.
    QPainterPath smoothedPath() const;

    QRectF bounds() const override;
    void draw(QPainter& painter, const QImage* pixellated) const override;
    bool hitTest(const QPointF& point) const override;
    void move(const QPointF& by) override;
    std::shared_ptr<Annotation> copyAnnotation() const override;
};
