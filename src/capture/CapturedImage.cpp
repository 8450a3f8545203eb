#include "capture/CapturedImage.h"

CapturedImage CapturedImage::downscaledTo1x() const {
    if (scale <= 1.0) return *this;
    const int w = static_cast<int>(image.width() / scale);
    const int h = static_cast<int>(image.height() / scale);
    if (w <= 0 || h <= 0 || image.isNull()) return *this;
    QImage scaled = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                        .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) return *this;
    return CapturedImage{scaled, 1.0};
}
