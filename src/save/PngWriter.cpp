#include "save/PngWriter.h"

#include "save/PngRows.h"
#include "save/PngStream.h"
#include "save/SplitDeflate.h"

#include <libdeflate.h>

namespace pngwriter {
namespace {

void appendBigEndian(QByteArray& out, quint32 v) {
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

// Length, type, data and the CRC of type and data.
void appendChunk(QByteArray& out, const char type[4], const QByteArray& data) {
    appendBigEndian(out, static_cast<quint32>(data.size()));
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* crcd = reinterpret_cast<const uchar*>(out.constData() + typeAt);
    appendBigEndian(out, libdeflate_crc32(0, crcd, static_cast<size_t>(data.size() + 4)));
}

QByteArray header(const QImage& image) {
    QByteArray ihdr;
    appendBigEndian(ihdr, static_cast<quint32>(image.width()));
    appendBigEndian(ihdr, static_cast<quint32>(image.height()));
    ihdr.append(char(8));                                          // bits per sample
    ihdr.append(char(pngrows::bytesPerPixel(image) == 4 ? 6 : 2)); // RGBA or RGB
    ihdr.append(3, char(0));                                       // deflate, adaptive filters, no interlace
    return ihdr;
}

QByteArray physicalSize(int x, int y) {
    QByteArray phys;
    appendBigEndian(phys, static_cast<quint32>(x));
    appendBigEndian(phys, static_cast<quint32>(y));
    phys.append(char(1)); // per metre
    return phys;
}

} // namespace

std::optional<QByteArray> encode(const QImage& source, int workers, std::optional<int> dotsPerMetre) {
    if (source.isNull()) return std::nullopt;
    const QImage image = pngrows::readableImage(source);
    if (image.isNull()) return std::nullopt;
    const auto stream = pngstream::compress(image, workers > 0 ? workers : splitdeflate::defaultBands());
    if (!stream) return std::nullopt;

    QByteArray out;
    out.reserve(stream->size() + 128);
    out.append("\x89PNG\r\n\x1a\n", 8);
    appendChunk(out, "IHDR", header(image));
    const int x = dotsPerMetre.value_or(image.dotsPerMeterX());
    const int y = dotsPerMetre.value_or(image.dotsPerMeterY());
    if (x > 0 && y > 0) appendChunk(out, "pHYs", physicalSize(x, y));
    appendChunk(out, "IDAT", *stream);
    appendChunk(out, "IEND", QByteArray());
    return out;
}

} // namespace pngwriter
