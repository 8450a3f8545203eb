#pragma once

#include "editor/Annotation.h"

#include <QColor>
#include <QImage>

#include <initializer_list>
#include <optional>

namespace editortest {

// An opaque white image of the given pixel size.
inline QImage whiteBase(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// The pixel under bottom-left-space point (x, y) of an image: rows are stored from the top.
inline QColor pixelAt(const QImage& image, double x, double y) {
    return QColor::fromRgba(image.pixel(static_cast<int>(x), image.height() - 1 - static_cast<int>(y)));
}

inline bool isWhite(const QColor& c) {
    return c.red() == 255 && c.green() == 255 && c.blue() == 255;
}

// Close to the annotations' default red (255, 59, 48).
inline bool isRed(const QColor& c) {
    return c.red() > 230 && c.green() < 90 && c.blue() < 80;
}

// How dark a pixel is, 0 for white, 765 for black.
inline int darkness(const QColor& c) {
    return 765 - c.red() - c.green() - c.blue();
}

// The number of pixels that differ between two images of the same size.
inline int differingPixels(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            count += x.pixel(col, row) != y.pixel(col, row);
    return count;
}

} // namespace editortest
