#include "save/PngRows.h"

#include <cstring>
#include <vector>

namespace pngrows {
namespace {

constexpr uchar filterNone = 0;
constexpr uchar filterUp = 2;

// Samples of row y in PNG order: R, G, B from RGB32 (B, G, R, X in memory), or straight R, G, B, A
// from premultiplied ARGB32.
void samplesOf(const QImage& image, int y, uchar* out) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    if (image.format() == QImage::Format_RGB32) {
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<uchar>(qRed(in[x]));
            out[1] = static_cast<uchar>(qGreen(in[x]));
            out[2] = static_cast<uchar>(qBlue(in[x]));
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += 4) {
        const QRgb p = qUnpremultiply(in[x]);
        out[0] = static_cast<uchar>(qRed(p));
        out[1] = static_cast<uchar>(qGreen(p));
        out[2] = static_cast<uchar>(qBlue(p));
        out[3] = static_cast<uchar>(qAlpha(p));
    }
}

// Counts the samples that equal the one a pixel to their left.
int repeatsAlongRow(const uchar* samples, int length, int bpp) {
    int repeats = 0;
    for (int i = bpp; i < length; ++i)
        repeats += samples[i] == samples[i - bpp];
    return repeats;
}

// Writes the row "up"-filtered to out (after its type byte), or unfiltered when the plain samples
// repeat along the row more often than the differences from the row above do: the compressor's
// matches are what pays, and text keeps its repeated glyphs only unfiltered.
void filterRow(const uchar* row, const uchar* above, int length, int bpp, uchar* out) {
    uchar* samples = out + 1;
    if (!above) {
        out[0] = filterNone;
        std::memcpy(samples, row, static_cast<size_t>(length));
        return;
    }
    for (int i = 0; i < length; ++i)
        samples[i] = static_cast<uchar>(row[i] - above[i]);
    if (repeatsAlongRow(row, length, bpp) > repeatsAlongRow(samples, length, bpp)) {
        out[0] = filterNone;
        std::memcpy(samples, row, static_cast<size_t>(length));
    } else {
        out[0] = filterUp;
    }
}

} // namespace

QImage readableImage(const QImage& image) {
    const QImage::Format wanted =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.format() == wanted ? image : image.convertToFormat(wanted);
}

int bytesPerPixel(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? 3 : 4;
}

qsizetype rowBytes(const QImage& image) {
    return 1 + qsizetype(image.width()) * bytesPerPixel(image);
}

void writeRows(const QImage& image, int first, int end, uchar* out) {
    const int bpp = bytesPerPixel(image);
    const int length = image.width() * bpp;
    std::vector<uchar> row(static_cast<size_t>(length)), above(static_cast<size_t>(length));
    if (first > 0) samplesOf(image, first - 1, above.data());
    for (int y = first; y < end; ++y, out += length + 1) {
        samplesOf(image, y, row.data());
        filterRow(row.data(), y > 0 ? above.data() : nullptr, length, bpp, out);
        row.swap(above);
    }
}

} // namespace pngrows
