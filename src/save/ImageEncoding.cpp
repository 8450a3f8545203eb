#include "save/ImageEncoding.h"

#include "save/PngWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <cmath>

namespace imageencoding {

std::optional<QByteArray> encode(const QImage& image, ImageFileFormat format) {
    if (image.isNull()) return std::nullopt;
    if (format == ImageFileFormat::png) return pngwriter::encode(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(jpegQuality);
    if (image.hasAlphaChannel()) {
        // JPEG has no alpha: flatten onto white rather than let transparent pixels turn black.
        QImage flat(image.size(), QImage::Format_RGB32);
        if (flat.isNull()) return std::nullopt;
        flat.setDotsPerMeterX(image.dotsPerMeterX());
        flat.setDotsPerMeterY(image.dotsPerMeterY());
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, image);
        }
        if (!writer.write(flat)) return std::nullopt;
        return bytes;
    }
    if (!writer.write(image)) return std::nullopt;
    return bytes;
}

std::optional<QByteArray> encode(const QImage& image, ImageFileFormat format, double scale) {
    if (image.isNull()) return std::nullopt;
    if (format == ImageFileFormat::png) return pngwriter::encode(image, 0, dotsPerMetreForScale(scale));
    return encode(withPointSize(image, scale), format);
}

int dotsPerMetreForScale(double scale) {
    return static_cast<int>(std::lround(96.0 / 0.0254 * (scale > 0 ? scale : 1.0)));
}

double scaleFromDensity(const QImage& image) {
    const int stated = image.dotsPerMeterX();
    // Readers leave a new image's own default where the file has no density.
    const int unstated = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    if (stated <= 0 || stated == unstated) return 1.0;
    const double scale = stated / (96.0 / 0.0254);
    return std::round(scale * 1000.0) / 1000.0;
}

QImage withPointSize(const QImage& image, double scale) {
    QImage copy = image;
    const int dpm = dotsPerMetreForScale(scale);
    copy.setDotsPerMeterX(dpm);
    copy.setDotsPerMeterY(dpm);
    copy.setDevicePixelRatio(scale > 0 ? scale : 1.0);
    return copy;
}

} // namespace imageencoding
