#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

class QPainter;

// Soft drop shadows cast by an image's own shape: its alpha, blurred, in one colour.
// The blur approximates a Gaussian of sigma = radius / 2 with three box passes, the way drawing
// systems usually define a shadow's blur radius.
namespace softshadow {

struct Shadow {
    QImage image;   // premultiplied ARGB, the source's size grown by `margin` on every side
    int margin = 0; // pixels added on each side to hold the blur's spread
};

// The shadow of `source` (any format; its alpha is used) in `color` (its alpha scales the shadow).
Shadow make(const QImage& source, double blurRadius, const QColor& color);

// Blurs one 8-bit channel in place (width × height bytes, row stride `stride`).
void blurAlpha(uchar* data, int width, int height, int stride, double blurRadius);

// Paints the shadow of `source` shifted by `offset`, then `source` itself at `topLeft`, both in
// the painter's current coordinates (pixels; y grows downwards in an unflipped QPainter).
void paintWithShadow(QPainter& painter, const QImage& source, const QPointF& topLeft, const QPointF& offset,
                     double blurRadius, const QColor& color);

} // namespace softshadow
