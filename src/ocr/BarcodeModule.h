#pragma once

#include "ocr/BarcodeReader.h"

#include <QImage>
#include <QString>

#include <vector>

// The entry points of the barcode module (BarcodeEngine.cpp), loaded on first use; null when it
// is not installed (said once in the log).
namespace barcodemodule {

struct EntryPoints {
    // Every barcode with a non-empty payload in a greyscale image, in the reader's order.
    void (*find)(const QImage* grey, std::vector<barcodereader::Barcode>* found) = nullptr;
    // A QR code of the text, one pixel per module, quiet zone included; null when it cannot be encoded.
    void (*make)(const QString* text, QImage* modules) = nullptr;
};

const EntryPoints& entryPoints();

} // namespace barcodemodule
