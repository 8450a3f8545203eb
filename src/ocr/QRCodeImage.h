#pragma once

#include <QImage>
#include <QString>

namespace qrcodeimage {

// A black-on-white QR code of `text`, each module `moduleSize` pixels square, with the standard
// four-module quiet zone. Null when the text cannot be encoded. For checks of the reader.
QImage make(const QString& text, int moduleSize);

} // namespace qrcodeimage
