#include "ocr/QRCodeImage.h"

#include "ocr/BarcodeModule.h"

namespace qrcodeimage {

QImage make(const QString& text, int moduleSize) {
    const auto encode = barcodemodule::entryPoints().make;
    if (moduleSize < 1 || !encode) return {};
    QImage modules;
    encode(&text, &modules);
    if (modules.isNull()) return {};
    // Scaled here, crisply: the module makes one pixel per module.
    return modules.scaled(modules.size() * moduleSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace qrcodeimage
