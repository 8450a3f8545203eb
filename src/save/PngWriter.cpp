#include "save/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace pngwriter {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<QByteArray*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}
void noFlush(png_structp) {}
// libpng's default handlers print to standard error; a failure is reported as a value instead.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// Straight (not premultiplied) RGBA of one premultiplied ARGB32 row.
void unpremultiplyRow(const QRgb* in, uchar* out, int width) {
    for (int x = 0; x < width; ++x, out += 4) {
        const QRgb p = qUnpremultiply(in[x]);
        out[0] = static_cast<uchar>(qRed(p));
        out[1] = static_cast<uchar>(qGreen(p));
        out[2] = static_cast<uchar>(qBlue(p));
        out[3] = static_cast<uchar>(qAlpha(p));
    }
}

// Everything libpng may jump out of lives in plain data set up before setjmp.
bool write(const QImage& image, bool alpha, QByteArray* out, uchar* rowBuffer) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const auto width = static_cast<png_uint_32>(image.width());
    const auto height = static_cast<png_uint_32>(image.height());
    png_set_write_fn(png, out, appendBytes, noFlush);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, zlibLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                     static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (!alpha) {
        // RGB32 rows are B, G, R, X in memory: drop the filler and swap to R, G, B in libpng.
        png_set_filler(png, 0, PNG_FILLER_AFTER);
        png_set_bgr(png);
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        const uchar* line = image.constScanLine(static_cast<int>(y));
        if (alpha) {
            unpremultiplyRow(reinterpret_cast<const QRgb*>(line), rowBuffer, image.width());
            png_write_row(png, rowBuffer);
        } else {
            png_write_row(png, const_cast<png_bytep>(line));
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::optional<QByteArray> encode(const QImage& source) {
    if (source.isNull()) return std::nullopt;
    const bool alpha = source.hasAlphaChannel();
    const QImage::Format wanted = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage image = source.format() == wanted ? source : source.convertToFormat(wanted);
    if (image.isNull()) return std::nullopt;
    std::vector<uchar> rowBuffer(alpha ? static_cast<size_t>(image.width()) * 4 : 0);
    QByteArray out;
    // Screenshots compress to a fraction of their raw size; start with room for a tenth.
    out.reserve(static_cast<qsizetype>(image.sizeInBytes() / 10));
    if (!write(image, alpha, &out, rowBuffer.data())) return std::nullopt;
    return out;
}

} // namespace pngwriter
