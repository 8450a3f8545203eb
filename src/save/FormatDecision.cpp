#include "save/FormatDecision.h"

#include <QPainter>

#include <bitset>

namespace formatdecision {

std::optional<QByteArray> downsample(const QImage& image, int side) {
    if (image.isNull() || side <= 0) return std::nullopt;
    QImage sample(side, side, QImage::Format_RGBA8888_Premultiplied);
    if (sample.isNull()) return std::nullopt;
    sample.fill(Qt::transparent);
    {
        QPainter p(&sample);
        // Nearest samples: the stretch reads only as many source pixels as the square has.
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QRect(0, 0, side, side), image);
    }
    QByteArray bytes(side * side * 4, Qt::Uninitialized);
    for (int y = 0; y < side; ++y)
        std::memcpy(bytes.data() + static_cast<qsizetype>(y) * side * 4, sample.constScanLine(y),
                    static_cast<size_t>(side) * 4);
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
