#pragma once

#include <QImage>
#include <QRect>

// A portal screenshot is one picture of the whole desktop: every output, laid out as the
// compositor places them, at one density (that of the densest output, on most desktops). These
// cut one output's part out of it at that output's own density, the pixels a capture of that
// output alone gives.
namespace desktoppicture {

// The desktop's bounding box in Qt's logical coordinates: the union of the outputs' geometries.
QRect layoutBounds(const QList<QRect>& outputs);

// `output` (logical, inside `layout`) cut out of `picture` (which spans `layout`) and brought to
// `scale` pixels per logical pixel. A null image when the output lies outside the picture, or when
// the picture does not have the layout's shape (the layout changed since it was taken).
QImage outputPixels(const QImage& picture, const QRect& layout, const QRect& output, double scale);

} // namespace desktoppicture
