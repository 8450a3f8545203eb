#pragma once

#include <QImage>

// Rows of a PNG image as the compressor takes them: each one a filter-type byte followed by the
// filtered samples (8-bit RGB for opaque images, 8-bit straight RGBA otherwise).
namespace pngrows {

// The image in the one layout the rows are read from: RGB32 when opaque, premultiplied ARGB32
// otherwise. Null when the conversion fails.
QImage readableImage(const QImage& image);

// Bytes per pixel of the rows of `image` (readableImage's result): 3 or 4.
int bytesPerPixel(const QImage& image);

// Bytes of one filtered row of `image`, its filter-type byte included.
qsizetype rowBytes(const QImage& image);

// Writes the filtered rows [first, end) of `image` to `out`, rowBytes() each. Each row gets the
// filter that keeps it best compressible: "none" where its samples repeat along the row more than
// its differences from the row above do, as in text (the compressor then matches the repeated
// glyphs), "up" elsewhere, as in gradients, pictures and rows like the one above.
void writeRows(const QImage& image, int first, int end, uchar* out);

} // namespace pngrows
