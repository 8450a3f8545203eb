#include "save/PngRows.h"

#include <cstring>
#include <vector>

namespace pngrows {
namespace {

constexpr uchar filterNone = 0;
constexpr uchar filterUp = 2;

// R, G, B of an RGB32 pixel in the low three bytes, R lowest: the byte order they are stored in.
inline quint32 rgbOf(QRgb p) {
    return __builtin_bswap32(p) >> 8;
}

void store(uchar* out, quint32 word) {
    std::memcpy(out, &word, sizeof word);
}

// Samples of row y in PNG order: R, G, B from RGB32 (B, G, R, X in memory), or straight R, G, B, A
// from premultiplied ARGB32. Opaque rows go four pixels to three 32-bit stores at a time, a
// quarter faster than byte by byte.
void samplesOf(const QImage& image, int y, uchar* out) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    if (image.format() == QImage::Format_RGB32) {
        int x = 0;
        for (; x + 4 <= width; x += 4, out += 12) {
            const quint32 a = rgbOf(in[x]), b = rgbOf(in[x + 1]), c = rgbOf(in[x + 2]), d = rgbOf(in[x + 3]);
            store(out, a | b << 24);
            store(out + 4, b >> 8 | c << 16);
            store(out + 8, c >> 16 | d << 8);
        }
        for (; x < width; ++x, out += 3) {
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

void subtract(const uchar* row, const uchar* above, int length, uchar* out) {
    for (int i = 0; i < length; ++i)
        out[i] = static_cast<uchar>(row[i] - above[i]);
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

void writeCandidates(const QImage& image, int first, int end, uchar* none, uchar* up) {
    const int length = image.width() * bytesPerPixel(image);
    std::vector<uchar> before;
    const uchar* above = nullptr; // the first row of the image has none: "up" then equals "none"
    if (first > 0) {
        before.resize(static_cast<size_t>(length));
        samplesOf(image, first - 1, before.data());
        above = before.data();
    }
    for (int y = first; y < end; ++y, none += length + 1, up += length + 1) {
        none[0] = filterNone;
        samplesOf(image, y, none + 1);
        up[0] = filterUp;
        if (above)
            subtract(none + 1, above, length, up + 1);
        else
            std::memcpy(up + 1, none + 1, static_cast<size_t>(length));
        above = none + 1;
    }
}

void writeRows(const QImage& image, int first, int end, bool up, uchar* out) {
    const int length = image.width() * bytesPerPixel(image);
    if (!up) {
        for (int y = first; y < end; ++y, out += length + 1) {
            out[0] = filterNone;
            samplesOf(image, y, out + 1);
        }
        return;
    }
    // Above the first row of the image PNG has a row of zeros.
    std::vector<uchar> above(static_cast<size_t>(length)), row(static_cast<size_t>(length));
    if (first > 0) samplesOf(image, first - 1, above.data());
    for (int y = first; y < end; ++y, out += length + 1) {
        samplesOf(image, y, row.data());
        out[0] = filterUp;
        subtract(row.data(), above.data(), length, out + 1);
        row.swap(above);
    }
}

} // namespace pngrows
