#include "ocr/BarcodeReader.h"

// Payloads as UTF-8 text rather than wide strings.
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <QPainter>

namespace barcodereader {

namespace {

QPolygon outlineOf(const ZXing::Position& position) {
    QPolygon outline;
    for (const ZXing::PointI& corner : position) outline << QPoint(corner.x, corner.y);
    return outline;
}

} // namespace

std::vector<Barcode> find(const QImage& image) {
    if (image.isNull()) return {};
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::Aztec | ZXing::BarcodeFormat::DataMatrix |
                     ZXing::BarcodeFormat::Code128 | ZXing::BarcodeFormat::EAN13);
    hints.setTryHarder(true);
    std::vector<Barcode> found;
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid()) continue;
        const QString payload = QString::fromStdString(result.text());
        if (!payload.isEmpty()) found.push_back({payload, outlineOf(result.position())});
    }
    return found;
}

QImage withoutBarcodes(const QImage& image, const std::vector<Barcode>& barcodes) {
    if (barcodes.empty()) return image;
    QImage cleared = image.format() == QImage::Format_Grayscale8 ? image : image.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&cleared);
    for (const Barcode& code : barcodes) {
        const QRect box = code.outline.boundingRect();
        // Grown by a quarter of the symbol's size: its edge modules and quiet zone lie just outside
        // the corners the reader reports.
        const int margin = std::max(box.width(), box.height()) / 4 + 2;
        painter.fillRect(box.adjusted(-margin, -margin, margin, margin), Qt::white);
    }
    painter.end();
    return cleared;
}

} // namespace barcodereader
