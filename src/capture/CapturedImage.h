#pragma once

#include <QImage>

// An immutable bitmap and its pixels per point (2.0 on a double-density screen).
// QImage is implicitly shared, so copies are cheap; nothing modifies the pixels after creation.
struct CapturedImage {
    QImage image;
    double scale = 1.0;

    int pixelWidth() const { return image.width(); }
    int pixelHeight() const { return image.height(); }
    QSizeF pointSize() const { return QSizeF(image.width() / scale, image.height() / scale); }

    // A copy at one pixel per point; unchanged when the scale is 1 or less, or when scaling fails.
    CapturedImage downscaledTo1x() const;
};
