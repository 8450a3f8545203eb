#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// The zlib stream (RFC 1950) of an image's PNG rows, made for speed where a screenshot is busy
// and for size where it is flat. The rows go in bands; each band is filtered both ways (see
// pngrows) and compressed both ways by FastDeflate, and the smaller is kept. Bands are taken in
// turn by several threads and joined into one stream. A picture that compresses past 32:1 (flat
// panels and empty space, where FastDeflate's coding is weakest and the stronger compressor is
// quick) is compressed again by splitdeflate from the rows chosen, and the smaller stream kept.
namespace pngstream {

// `image` is in pngrows::readableImage's layout; `workers` threads compress it (at least one).
// None when the image is empty or every compressor fails.
std::optional<QByteArray> compress(const QImage& image, int workers);

} // namespace pngstream
