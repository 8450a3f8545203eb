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
    const QRectF frame(QPointF(0, 0), points);
    p.setBrush(QColor::fromRgbF(0.24f, 0.24f, 0.24f));
    p.drawRoundedRect(frame, 5, 5);
    // A plain window of no particular desktop: a lighter title bar with minimise, maximise and
    // close drawn as line glyphs at its right end.
    constexpr double titleHeight = 11, glyph = 4, gap = 4.5, rightInset = 6;
    QPainterPath bar;
    bar.addRoundedRect(frame, 5, 5);
    p.save();
    p.setClipRect(QRectF(0, 0, points.width(), titleHeight));
    p.setBrush(QColor::fromRgbF(0.31f, 0.31f, 0.31f));
    p.drawPath(bar);
    p.restore();
    QPen pen(QColor::fromRgbF(0.80f, 0.80f, 0.80f), 0.9);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double top = (titleHeight - glyph) / 2;
    const double closeLeft = points.width() - rightInset - glyph;
    const QRectF close(closeLeft, top, glyph, glyph);
    const QRectF maximise(closeLeft - gap - glyph, top, glyph, glyph);
    const QRectF minimise(maximise.left() - gap - glyph, top, glyph, glyph);
    p.drawLine(close.topLeft(), close.bottomRight());
    p.drawLine(close.topRight(), close.bottomLeft());
    p.drawRect(maximise);
    p.drawLine(QPointF(minimise.left(), minimise.bottom()), minimise.bottomRight());
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
