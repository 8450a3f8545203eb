#pragma once

#include "editor/Annotation.h"

#include <QPolygonF>

// Arrows, lines, rectangles, ovals and highlights: everything defined by two dragged points.
// Start and end stay as dragged (not sorted), so an arrow keeps its direction.
class ShapeAnnotation : public Annotation {
  public:
    enum class Kind { arrow, line, rect, oval, highlight };

    ShapeAnnotation(Kind kind, const QPointF& start, const QPointF& end, double uiScale);

    Kind kind() const { return m_kind; }
    QPointF start;
    QPointF end;

    // The rectangle spanned by start and end, with non-negative size.
    QRectF normalizedRect() const;

    QRectF bounds() const override;
    void draw(QPainter& painter, const QImage* pixellated) const override;
    bool hitTest(const QPointF& point) const override;
    void move(const QPointF& by) override;
    std::shared_ptr<Annotation> copyAnnotation() const override;

  private:
    bool hitsOutline(const QPointF& point) const;
    void drawArrow(QPainter& painter) const;

    Kind m_kind;
};

// An arrow's head: the shaft ends at `base`, the head is the triangle tip–left–right.
struct ArrowGeometry {
    double headLength = 0;
    QPointF base;
    QPolygonF head; // tip, then the two corners of the head's base
};
ArrowGeometry arrowGeometry(const QPointF& start, const QPointF& end, double strokeWidthPt, double uiScale);
