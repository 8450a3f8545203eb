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

// Writes the rows [first, end) of `image` twice, rowBytes() each: unfiltered to `none`, and with
// the "up" filter (each sample less the one above it) to `up`. Text compresses best unfiltered,
// where the compressor matches its repeated glyphs; gradients, pictures and flat panels best "up";
// the caller keeps whichever compresses smaller.
void writeCandidates(const QImage& image, int first, int end, uchar* none, uchar* up);

// Writes the rows [first, end) of `image` to `out`, rowBytes() each, all with the one filter:
// "up" when `up`, else none.
void writeRows(const QImage& image, int first, int end, bool up, uchar* out);

} // namespace pngrows
