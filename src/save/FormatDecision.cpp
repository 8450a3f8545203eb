#include "save/FormatDecision.h"

#include <bitset>

namespace formatdecision {

std::optional<QByteArray> downsample(const QImage& image, int side) {
    if (image.isNull() || side <= 0) return std::nullopt;
    // Nearest sampling at the centre of each of the square's cells: the sample reads side × side
    // source pixels whatever the image's size. (A painter's scaled draw does the same in principle
    // but takes a slower path for very large sources.)
    const int w = image.width(), h = image.height();
    const QImage::Format f = image.format();
    const bool raw32 = f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied;
    QByteArray bytes(side * side * 4, Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    for (int sy = 0; sy < side; ++sy) {
        const int y = static_cast<int>((static_cast<qint64>(sy) * 2 + 1) * h / (2 * side));
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int sx = 0; sx < side; ++sx, out += 4) {
            const int x = static_cast<int>((static_cast<qint64>(sx) * 2 + 1) * w / (2 * side));
            QRgb px;
            if (raw32)
                px = f == QImage::Format_RGB32 ? (row[x] | 0xff000000u) : row[x];
            else
                px = qPremultiply(image.pixel(x, y));
            out[0] = static_cast<uchar>(qRed(px));
            out[1] = static_cast<uchar>(qGreen(px));
            out[2] = static_cast<uchar>(qBlue(px));
            out[3] = static_cast<uchar>(qAlpha(px));
        }
    }
    return bytes;
}

std::optional<int> distinctColourKeys(const QImage& image) {
    const auto sample = downsample(image, colourSampleSide);
    if (!sample) return std::nullopt;
    std::bitset<4096> seen;
    const auto* px = reinterpret_cast<const uchar*>(sample->constData());
    for (int i = 0; i < colourSampleSide * colourSampleSide; ++i, px += 4)
        seen.set(static_cast<size_t>((px[0] / 16) * 256 + (px[1] & 0xF0) + px[2] / 16));
    return static_cast<int>(seen.count());
}

bool isPhotoLike(const QImage& image) {
    const auto keys = distinctColourKeys(image);
    return keys && *keys > photoColourKeys;
}

ImageFileFormat decide(const QImage& image, SaveFormat setting) {
    if (setting == SaveFormat::png) return ImageFileFormat::png;
    if (image.hasAlphaChannel()) {
        if (const auto sample = downsample(image, alphaSampleSide)) {
            for (qsizetype i = 3; i < sample->size(); i += 4)
                if (static_cast<uchar>((*sample)[i]) < opaqueEnough) return ImageFileFormat::png;
        }
    }
    return isPhotoLike(image) ? ImageFileFormat::jpeg : ImageFileFormat::png;
}

} // namespace formatdecision
