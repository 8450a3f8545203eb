#pragma once

#include "editor/Annotation.h"

#include <QImage>

#include <optional>

// Flattens a base image and its annotations into one bitmap, and makes the pixellated copy of an
// image that blur annotations show. Holds no state.
namespace AnnotationRenderer {

// The side of a pixellation cell in pixels for an image of `scale` pixels per point: 8 points,
// never less than 8 pixels.
double cellSize(double scale);

// A copy of `image` (same pixel size) made of square cells of cellSize(scale) pixels, aligned to
// the image's bottom-left corner, each filled with the average colour of the pixels under it.
// None for a null image or a size that cannot be allocated.
std::optional<QImage> pixellate(const QImage& image, double scale);

// A new premultiplied ARGB image of exactly the base's pixel size: the base with the annotations
// drawn over it in list order. `pixellated` goes to every annotation unchanged (blur annotations
// need it). Returns the base itself when the new image cannot be made.
QImage render(const QImage& base, const AnnotationList& annotations,
              const std::optional<QImage>& pixellated = std::nullopt);

} // namespace AnnotationRenderer
