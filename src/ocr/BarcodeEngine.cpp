// The barcode reader as a module of its own, loaded on the first recognition (see EngineModule.h).
#include "ocr/BarcodeReader.h"

// Payloads as UTF-8 text rather than wide strings.
#define ZX_USE_UTF8 1
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <ZXing/ReadBarcode.h>

#include <exception>

namespace {

QPolygon outlineOf(const ZXing::Position& position) {
    QPolygon outline;
    for (const ZXing::PointI& corner : position)
        outline << QPoint(corner.x, corner.y);
    return outline;
}

} // namespace

#define PICTRO_BARCODE_EXPORT extern "C" __attribute__((visibility("default")))

// Every barcode with a non-empty payload in a greyscale image, in the reader's order.
PICTRO_BARCODE_EXPORT void pictro_barcode_engine_find(const QImage* grey,
                                                      std::vector<barcodereader::Barcode>* found) {
    const ZXing::ImageView view(grey->constBits(), grey->width(), grey->height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(grey->bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::Aztec |
                     ZXing::BarcodeFormat::DataMatrix | ZXing::BarcodeFormat::Code128 |
                     ZXing::BarcodeFormat::EAN13);
    hints.setTryHarder(true);
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid()) continue;
        const QString payload = QString::fromStdString(result.text());
        if (!payload.isEmpty()) found->push_back({payload, outlineOf(result.position())});
    }
}

// A black-on-white QR code of the text, one pixel per module, with the standard four-module quiet
// zone; left null when the text does not fit any symbol.
PICTRO_BARCODE_EXPORT void pictro_barcode_engine_make(const QString* text, QImage* image) {
    ZXing::BitMatrix modules;
    try {
        // Width and height 0 ask for one pixel per module.
        modules = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode)
                      .setMargin(4)
                      .encode(text->toStdString(), 0, 0);
    } catch (const std::exception&) {
        return; // the writer throws on content too long for any symbol
    }
    *image = QImage(modules.width(), modules.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < modules.height(); ++y) {
        uchar* row = image->scanLine(y);
        for (int x = 0; x < modules.width(); ++x)
            row[x] = modules.get(x, y) ? 0 : 255;
    }
}
