#include "hud/HudCloseButton.h"

#include "platform/Symbols.h"

#include <QPainter>

#include <cmath>

HudCloseButton::HudCloseButton(QWidget* parent) : QAbstractButton(parent) {
    setFixedSize(side, side);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setAccessibleName(QStringLiteral("Close"));
    setToolTip(QString());
}

void HudCloseButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, side, side);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, isDown() ? 170 : 120));
    p.drawEllipse(box.adjusted(1.0, 1.0, -1.0, -1.0));
    const qreal dpr = devicePixelRatioF();
    QPixmap glyph =
        Symbols::drawn(QStringLiteral("xmark.circle.fill"), static_cast<int>(std::lround(side * dpr)),
                       QColor(255, 255, 255, isDown() ? 200 : 240));
    glyph.setDevicePixelRatio(dpr);
    p.drawPixmap(QPointF(0, 0), glyph);
}
