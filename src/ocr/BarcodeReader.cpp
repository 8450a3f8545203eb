#include "ocr/BarcodeReader.h"

#include "ocr/BarcodeModule.h"

#include <QPainter>

namespace barcodereader {

std::vector<Barcode> find(const QImage& image) {
    const auto find = barcodemodule::entryPoints().find;
    if (image.isNull() || !find) return {};
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<Barcode> found;
    find(&grey, &found);
    return found;
}

QImage withoutBarcodes(const QImage& image, const std::vector<Barcode>& barcodes) {
    if (barcodes.empty()) return image;
    QImage cleared =
        image.format() == QImage::Format_Grayscale8 ? image : image.convertToFormat(QImage::Format_RGB32);
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
