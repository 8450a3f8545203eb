#include "ocr/QRCodeImage.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <exception>

namespace qrcodeimage {

QImage make(const QString& text, int moduleSize) {
    if (moduleSize < 1) return {};
    ZXing::BitMatrix modules;
    try {
        // Width and height 0 ask for one pixel per module; scaling is done below, crisply.
        modules = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode).setMargin(4).encode(text.toStdString(), 0, 0);
    } catch (const std::exception&) {
        return {}; // the writer throws on content too long for any symbol
    }
    QImage image(modules.width(), modules.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < modules.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < modules.width(); ++x) row[x] = modules.get(x, y) ? 0 : 255;
    }
    return image.scaled(image.size() * moduleSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace qrcodeimage
