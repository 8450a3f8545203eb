// The PNG encoders that the save service could use, on the same screenshot-like and text-heavy
// screens at 1920x1080 and 3840x2160: libpng with its filter and zlib strategy choices, libspng,
// libdeflate, ISA-L, and the save service's own writer (bands of rows filtered none or up,
// whichever compresses smaller, compressed on every core and joined into one stream). Each is timed in
// interleaved rounds against the floor encoder, libpng at zlib level 1 with its default filters, and its size
// is compared with ImageMagick's file of the same pixels. Every output is decoded and checked.
#include "bench/save/ScreenshotLike.h"
#include "save/FastDeflate.h"
#include "save/PngWriter.h"
#include "save/SplitDeflate.h"
#include "support/BenchRows.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <libdeflate.h>
#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Encoder = std::function<QByteArray(const QImage&)>;

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(length));
}
void noFlush(png_structp) {}

// libpng over RGB32 rows; filters -1 and strategy -1 leave libpng's defaults.
QByteArray withLibpng(const QImage& image, int level, int filters, int strategy) {
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    if (strategy >= 0) png_set_compression_strategy(png, strategy);
    if (filters >= 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(image.constScanLine(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

QByteArray withSpng(const QImage& image, int level, int filter) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::vector<uchar> packed;
    packed.reserve(size_t(rgb.width()) * size_t(rgb.height()) * 3);
    for (int y = 0; y < rgb.height(); ++y)
        packed.insert(packed.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, level);
    if (filter >= 0) spng_set_option(ctx, SPNG_FILTER_CHOICE, filter);
    spng_ihdr ihdr{};
    ihdr.width = uint32_t(image.width());
    ihdr.height = uint32_t(image.height());
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(ctx, &ihdr);
    spng_encode_image(ctx, packed.data(), packed.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t size = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(ctx, &size, &error);
    QByteArray out(static_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    spng_ctx_free(ctx);
    return out;
}

void appendBigEndian(QByteArray& out, quint32 v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}
void appendChunk(QByteArray& out, const char* type, const QByteArray& data) {
    appendBigEndian(out, quint32(data.size()));
    const qsizetype at = out.size();
    out.append(type, 4);
    out.append(data);
    appendBigEndian(
        out, quint32(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + at), uInt(data.size() + 4))));
}

// The image's PNG rows, every row with one filter (0 none, 2 up).
std::vector<uchar> filteredRows(const QImage& image, int filter) {
    const int length = image.width() * 3;
    const size_t rowLength = static_cast<size_t>(length);
    std::vector<uchar> raw(static_cast<size_t>(image.height()) * (rowLength + 1));
    std::vector<uchar> above(rowLength), row(rowLength);
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row[size_t(x) * 3] = uchar(qRed(in[x]));
            row[size_t(x) * 3 + 1] = uchar(qGreen(in[x]));
            row[size_t(x) * 3 + 2] = uchar(qBlue(in[x]));
        }
        uchar* out = raw.data() + size_t(y) * size_t(length + 1);
        out[0] = uchar(filter);
        for (int i = 0; i < length; ++i)
            out[1 + i] = uchar(row[size_t(i)] - (filter == 2 && y > 0 ? above[size_t(i)] : 0));
        row.swap(above);
    }
    return raw;
}

QByteArray pngOf(const QImage& image, const QByteArray& zlibStream) {
    QByteArray ihdr;
    appendBigEndian(ihdr, quint32(image.width()));
    appendBigEndian(ihdr, quint32(image.height()));
    ihdr.append("\x08\x02\x00\x00\x00", 5);
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    appendChunk(out, "IHDR", ihdr);
    appendChunk(out, "IDAT", zlibStream);
    appendChunk(out, "IEND", QByteArray());
    return out;
}

// libdeflate over the whole image in one call.
QByteArray withLibdeflate(const QImage& image, int level, int filter) {
    const std::vector<uchar> raw = filteredRows(image, filter);
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    QByteArray z(qsizetype(libdeflate_zlib_compress_bound(c, raw.size())), Qt::Uninitialized);
    z.resize(qsizetype(libdeflate_zlib_compress(c, raw.data(), raw.size(), z.data(), size_t(z.size()))));
    libdeflate_free_compressor(c);
    return pngOf(image, z);
}

// ISA-L (the save service's fast compressor) over the whole image in one call.
QByteArray withIsal(const QImage& image, int filter) {
    const std::vector<uchar> raw = filteredRows(image, filter);
    FastDeflate deflate;
    const auto blocks = deflate.compress(raw.data(), raw.size(), true);
    const splitdeflate::Part part{
        QByteArray(reinterpret_cast<const char*>(blocks.data()), qsizetype(blocks.size())),
        quint32(adler32(1, raw.data(), uInt(raw.size()))), qsizetype(raw.size())};
    return pngOf(image, splitdeflate::zlibStream({part}));
}

struct Candidate {
    const char* name;
    Encoder encode;
};

const std::vector<Candidate>& candidates() {
    static const std::vector<Candidate> list = {
        {"floor: libpng L1 default filters", [](const QImage& i) { return withLibpng(i, 1, -1, -1); }},
        {"libpng L6 up (previous writer)",
         [](const QImage& i) { return withLibpng(i, 6, PNG_FILTER_UP, -1); }},
        {"libpng L6 default filters (Qt)", [](const QImage& i) { return withLibpng(i, 6, -1, -1); }},
        {"libpng L1 none", [](const QImage& i) { return withLibpng(i, 1, PNG_FILTER_NONE, -1); }},
        {"libpng L1 up", [](const QImage& i) { return withLibpng(i, 1, PNG_FILTER_UP, -1); }},
        {"libpng L6 up Z_RLE", [](const QImage& i) { return withLibpng(i, 6, PNG_FILTER_UP, Z_RLE); }},
        {"libpng L6 up Z_FILTERED",
         [](const QImage& i) { return withLibpng(i, 6, PNG_FILTER_UP, Z_FILTERED); }},
        {"libspng L6 default filters", [](const QImage& i) { return withSpng(i, 6, -1); }},
        {"libspng L1 up", [](const QImage& i) { return withSpng(i, 1, SPNG_FILTER_CHOICE_UP); }},
        {"libdeflate L6 up", [](const QImage& i) { return withLibdeflate(i, 6, 2); }},
        {"libdeflate L6 none", [](const QImage& i) { return withLibdeflate(i, 6, 0); }},
        {"libdeflate L1 up", [](const QImage& i) { return withLibdeflate(i, 1, 2); }},
        {"ISA-L L2 none", [](const QImage& i) { return withIsal(i, 0); }},
        {"ISA-L L2 up", [](const QImage& i) { return withIsal(i, 2); }},
        {"pngwriter 1 thread",
         [](const QImage& i) { return pngwriter::encode(i, 1).value_or(QByteArray()); }},
        {"pngwriter 2 threads (used)",
         [](const QImage& i) { return pngwriter::encode(i, 2).value_or(QByteArray()); }},
    };
    return list;
}

qint64 imageMagickSize(const QImage& image, const QString& dir) {
    const QString ppm = dir + QStringLiteral("/in.ppm"), png = dir + QStringLiteral("/im.png");
    image.save(ppm);
    QProcess::execute(QStringLiteral("convert"), {ppm, png});
    return QFile(png).size();
}

void measure(const char* label, const QImage& image, const QString& dir, int rounds) {
    const auto& list = candidates();
    std::vector<std::vector<double>> ratios(list.size());
    std::vector<double> floorMs;
    std::vector<qsizetype> sizes(list.size());
    std::vector<bool> exact(list.size(), true);
    for (int r = 0; r < rounds; ++r) {
        double floor = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const QByteArray png = list[i].encode(image);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            if (i == 0) floor = ms, floorMs.push_back(ms);
            ratios[i].push_back(ms / floor);
            sizes[i] = png.size();
            if (r == 0)
                exact[i] = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32) == image;
        }
    }
    const qint64 im = imageMagickSize(image, dir);
    std::printf("\n%s %dx%d: floor %.1f ms (median), ImageMagick %lld bytes\n", label, image.width(),
                image.height(), benchrows::median(floorMs), static_cast<long long>(im));
    std::printf("  %-34s %9s %11s %9s\n", "encoder", "x floor", "bytes", "vs IM");
    for (size_t i = 0; i < list.size(); ++i)
        std::printf("  %-34s %8.2fx %11lld %+8.1f%%%s\n", list[i].name, benchrows::median(ratios[i]),
                    static_cast<long long>(sizes[i]), 100.0 * (double(sizes[i]) / double(im) - 1.0),
                    exact[i] ? "" : "  DECODES WRONG");
    const size_t used = list.size() - 1;
    benchrows::ratio(std::string("PNG encode ") + label + " " + std::to_string(image.width()) +
                         " vs floor encoder",
                     benchrows::median(ratios[used]), 1.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // An optional first argument sets the rounds; options meant for benchmark programs are ignored.
    const int rounds = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        measure("text-heavy", textHeavyScreenImage(w, h), dir.path(), rounds);
        measure("screenshot-like", screenshotLikeImage(w, h), dir.path(), rounds);
    }
    return 0;
}
