#include "ocr/OCRImage.h"

#include <QPainter>

#include <algorithm>

namespace ocrimage {

QImage prepared(const QImage& image) {
    if (image.isNull()) return {};
    QImage source = image;
    if (std::max(image.width(), image.height()) > kMaxSide)
        source = image.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!source.hasAlphaChannel()) return source.convertToFormat(QImage::Format_Grayscale8);
    QImage paper(source.size(), QImage::Format_Grayscale8);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, source);
    painter.end();
    return paper;
}

} // namespace ocrimage
