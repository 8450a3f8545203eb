#include "editor/BottomLeftPainter.h"

#include "capture/SoftShadow.h"

#include <QPainter>

namespace bottomleft {

QTransform flip(double height) {
    return QTransform(1, 0, 0, -1, 0, height);
}

void begin(QPainter& painter, double imageHeight) {
    painter.setTransform(flip(imageHeight), true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void unflipAt(QPainter& painter, const QPointF& topLeft) {
    painter.translate(topLeft);
    painter.scale(1.0, -1.0);
}

void drawImage(QPainter& painter, const QRectF& target, const QImage& image) {
    if (image.isNull() || target.isEmpty()) return;
    painter.save();
    unflipAt(painter, QPointF(target.x(), target.y() + target.height()));
    painter.drawImage(QRectF(0, 0, target.width(), target.height()), image);
    painter.restore();
}

void drawSoftShadow(QPainter& painter, const QImage& shape, const QRectF& shapeRect, const QPointF& offset,
                    double blurRadius, const QColor& color) {
    const softshadow::Shadow shadow = softshadow::make(shape, blurRadius, color);
    if (shadow.image.isNull()) return;
    const double m = shadow.margin;
    const QRectF target(shapeRect.x() - m + offset.x(), shapeRect.y() - m + offset.y(),
                        shapeRect.width() + 2 * m, shapeRect.height() + 2 * m);
    painter.save();
    // A shadow may land between pixels; smoothing keeps it soft instead of jagged.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    drawImage(painter, target, shadow.image);
    painter.restore();
}

} // namespace bottomleft
