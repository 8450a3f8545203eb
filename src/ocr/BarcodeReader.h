#pragma once

#include <QImage>
#include <QPolygon>
#include <QString>

#include <vector>

// Finds barcodes in an image: QR, Aztec, Data Matrix, Code 128 and EAN-13. Blocking; safe from
// any thread.
namespace barcodereader {

struct Barcode {
    QString payload;
    // The symbol's corners in image pixels.
    QPolygon outline;
};

// Every barcode found with a non-empty payload, in the reader's order.
std::vector<Barcode> find(const QImage& image);

// The image with each barcode painted over in white, quiet zone included, so the text engine does
// not read the symbol's modules as letters.
QImage withoutBarcodes(const QImage& image, const std::vector<Barcode>& barcodes);

} // namespace barcodereader
