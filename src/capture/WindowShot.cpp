#include "capture/WindowShot.h"

#include "capture/SoftShadow.h"

#include <QPainter>

#include <algorithm>

namespace windowshot {

QSize canvasSize(const QSize& imageSize, double scale) {
    const double margin = marginPoints * scale;
    return QSize(static_cast<int>(imageSize.width() + 2 * margin),
                 static_cast<int>(imageSize.height() + 2 * margin));
}

QRectF aspectFill(const QSizeF& picture, const QSizeF& canvas) {
    if (picture.isEmpty()) return QRectF(QPointF(0, 0), canvas);
    const double f = std::max(canvas.width() / picture.width(), canvas.height() / picture.height());
    const QSizeF drawn(f * picture.width(), f * picture.height());
    return QRectF(QPointF((canvas.width() - drawn.width()) / 2, (canvas.height() - drawn.height()) / 2),
                  drawn);
}

namespace {

void paintBackground(QPainter& p, const QSize& canvas, WindowBGStyle style, const QColor& solidColor,
                     const QImage& wallpaper) {
    const QRect all(QPoint(0, 0), canvas);
    switch (style) {
    case WindowBGStyle::transparent:
    case WindowBGStyle::trimShadow:
        break;
    case WindowBGStyle::solid:
        p.fillRect(all, solidColor);
        break;
    case WindowBGStyle::wallpaper:
        if (wallpaper.isNull()) {
            p.fillRect(all, indigo());
        } else {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(aspectFill(QSizeF(wallpaper.size()), QSizeF(canvas)), wallpaper);
        }
        break;
    }
}

} // namespace

CapturedImage compose(const CapturedImage& shot, WindowBGStyle style, const QColor& solidColor,
                      const QImage& wallpaper) {
    if (style == WindowBGStyle::trimShadow || shot.image.isNull()) return shot;
    const double scale = shot.scale;
    const double margin = marginPoints * scale;
    const QSize size = canvasSize(shot.image.size(), scale);
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) return shot;
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        paintBackground(p, size, style, solidColor, wallpaper);
        QColor shadow(Qt::black);
        shadow.setAlphaF(shadowAlpha);
        // The canvas is top-down, so "downwards" is +y here.
        softshadow::paintWithShadow(p, shot.image, QPointF(margin, margin),
                                    QPointF(0, shadowOffsetPoints * scale), shadowBlurPoints * scale, shadow);
    }
    return CapturedImage{canvas, scale};
}

} // namespace windowshot
