#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>

class QPainter;

// Annotations are drawn in image pixels with the origin at the image's bottom-left corner and y
// upwards, while QPainter's user space grows downwards. These helpers set up that space once and
// draw the things that must not come out mirrored in it: images and text.
namespace bottomleft {

// Maps bottom-left image space onto a top-left device of the given height.
QTransform flip(double height);

// Makes the painter's user space the bottom-left space of an image `imageHeight` pixels high, on
// top of whatever transform it already has (a view's zoom, for instance), and switches on
// antialiasing for shapes and text.
void begin(QPainter& painter, double imageHeight);

// Turns the local space back into a y-down one whose origin is `topLeft` (a bottom-left-space
// point: the top-left corner of what is drawn next). Callers save and restore the painter.
void unflipAt(QPainter& painter, const QPointF& topLeft);

// Draws `image` upright into `target` (a bottom-left-space rectangle: x, lowest y, width, height).
void drawImage(QPainter& painter, const QRectF& target, const QImage& image);

// Draws the soft shadow cast by `shape` (its alpha) as if the shape were drawn into `shapeRect`,
// moved by `offset` (bottom-left space: a negative y goes downwards).
void drawSoftShadow(QPainter& painter, const QImage& shape, const QRectF& shapeRect, const QPointF& offset,
                    double blurRadius, const QColor& color);

} // namespace bottomleft
