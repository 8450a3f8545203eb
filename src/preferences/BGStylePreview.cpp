#include "preferences/BGStylePreview.h"

#include "capture/CapturedImage.h"
#include "capture/WindowShot.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace bgstylepreview {

QString label(WindowBGStyle style) {
    return windowBGStyleText.label(style);
}

QString toolTip(WindowBGStyle style) {
    switch (style) {
    case WindowBGStyle::wallpaper:
        return QStringLiteral("Window on top of your desktop wallpaper");
    case WindowBGStyle::transparent:
        return QStringLiteral("Padding with transparency — great for pasting into docs (PNG)");
    case WindowBGStyle::solid:
        return QStringLiteral("Window on a solid color backdrop");
    case WindowBGStyle::trimShadow:
        return QStringLiteral("Just the window — no padding, no shadow");
    }
    return {};
}

QSizeF windowSize(WindowBGStyle style) {
    return style == WindowBGStyle::trimShadow ? QSizeF(92, 60) : QSizeF(66, 44);
}

QImage sampleWindow(const QSizeF& points, double k) {
    const QSize pixels(static_cast<int>(std::lround(points.width() * k)),
                       static_cast<int>(std::lround(points.height() * k)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgbF(0.24f, 0.24f, 0.24f));
    p.drawRoundedRect(QRectF(QPointF(0, 0), points), 5, 5);
    const QColor dots[] = {QColor::fromRgbF(1.0f, 0.37f, 0.34f), QColor::fromRgbF(1.0f, 0.75f, 0.18f),
                           QColor::fromRgbF(0.22f, 0.79f, 0.25f)};
    constexpr double inset = 6, dot = 5.5, gap = 3.5;
    for (int i = 0; i < 3; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(QRectF(inset + i * (dot + gap), inset, dot, dot));
    }
    return image;
}

namespace {

// A wallpaper of the canvas's own size, so the composition draws it unscaled, whose gradient runs
// exactly from the preview's top-left corner to its bottom-right one.
QImage gradientWallpaper(const QSize& canvas, const QRectF& preview) {
    QImage image(canvas, QImage::Format_ARGB32_Premultiplied);
    QLinearGradient gradient(preview.topLeft(), preview.bottomRight());
    gradient.setColorAt(0, QColor::fromRgbF(0.25f, 0.45f, 0.95f));
    gradient.setColorAt(1, QColor::fromRgbF(0.30f, 0.75f, 0.85f));
    QPainter p(&image);
    p.fillRect(image.rect(), gradient);
    return image;
}

QImage trimmed(const QImage& window, double k) {
    QImage preview((previewSize * k).toSize(), QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter p(&preview);
    p.drawImage(QPointF((preview.width() - window.width()) / 2.0, (preview.height() - window.height()) / 2.0),
                window);
    return preview;
}

} // namespace

QImage render(WindowBGStyle style, const QColor& solidColor, double k) {
    const QImage window = sampleWindow(windowSize(style), k);
    QImage preview;
    if (style == WindowBGStyle::trimShadow) {
        preview = trimmed(window, k);
    } else {
        // Half a pixel of the capture per preview pixel: the composition's 48-point margin then
        // covers the preview around the window and its shadow falls 4 points down.
        const double scale = k / 2;
        const double margin = windowshot::marginPoints * scale;
        const QSize canvas = windowshot::canvasSize(window.size(), scale);
        const QPointF centre(margin + window.width() / 2.0, margin + window.height() / 2.0);
        const QSizeF previewPixels = previewSize * k;
        const QRectF area(centre - QPointF(previewPixels.width() / 2, previewPixels.height() / 2),
                          previewPixels);
        const QImage wallpaper =
            style == WindowBGStyle::wallpaper ? gradientWallpaper(canvas, area) : QImage();
        const CapturedImage composed =
            windowshot::compose(CapturedImage{window, scale}, style, solidColor, wallpaper);
        preview = composed.image.copy(area.toAlignedRect());
    }
    preview.setDevicePixelRatio(k);
    return preview;
}

void paintCheckerboard(QPainter& p, const QSizeF& size) {
    const QColor grey(128, 128, 128);
    QColor background = grey, square = grey;
    background.setAlphaF(0.15f);
    square.setAlphaF(0.4f);
    p.fillRect(QRectF(QPointF(0, 0), size), background);
    const int columns = static_cast<int>(std::ceil(size.width() / checkerSquare));
    const int rows = static_cast<int>(std::ceil(size.height() / checkerSquare));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if ((r + c) % 2 == 0)
                p.fillRect(QRectF(c * checkerSquare, r * checkerSquare, checkerSquare, checkerSquare)
                               .intersected(QRectF(QPointF(0, 0), size)),
                           square);
}

} // namespace bgstylepreview
