#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// PNG encoding tuned for screenshots, where encoding is most of the time from a key press to the
// saved file. Each band of rows is stored unfiltered or with the "up" filter, whichever compresses
// smaller, and the bands are compressed on every core at once into one standard zlib stream (see
// pngstream). Measured with bench/save on screenshot-like and text-heavy screens: files within a
// few per cent of ImageMagick's (smaller on text), several times faster than a single-threaded
// zlib level-1 encoder on busy screens.
namespace pngwriter {

// Opaque images become 8-bit RGB, images with an alpha channel 8-bit RGBA (straight alpha).
// The image's dots per metre are recorded (pHYs), or `dotsPerMetre` when given (which spares the
// caller a copy of the pixels just to state them). `workers` is how many threads compress it (0: as
// many as suit this machine). None when the image is null or a compressor fails.
std::optional<QByteArray> encode(const QImage& image, int workers = 0,
                                 std::optional<int> dotsPerMetre = std::nullopt);

} // namespace pngwriter
