#pragma once

#include "editor/Annotation.h"

#include <QString>

// A line (or lines) of bold text with a soft shadow and no background box.
class TextAnnotation : public Annotation {
  public:
    explicit TextAnnotation(double uiScale);

    QString text;
    QPointF origin; // bottom-left corner of the text box
    double fontSizePt = 18.0;

    double fontPixelSize() const { return fontSizePt * uiScale(); }
    // The laid-out size of the text, each side at least 10 pixels (so empty text still has a box).
    QSizeF textSize() const;

    QRectF bounds() const override;
    void draw(QPainter& painter, const QImage* pixellated) const override;
    void move(const QPointF& by) override;
    std::shared_ptr<Annotation> copyAnnotation() const override;
};
