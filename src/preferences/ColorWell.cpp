#include "preferences/ColorWell.h"

#include <QPainter>
#include <QStyleOptionButton>

ColorWell::ColorWell(Chooser chooser, QWidget* parent) : QPushButton(parent), m_chooser(std::move(chooser)) {
    setFixedSize(44, 24);
    setAccessibleName(QStringLiteral("Backdrop color"));
    connect(this, &QPushButton::clicked, this, &ColorWell::choose);
}

void ColorWell::showColor(const QColor& color) {
    if (color == m_color) return;
    m_color = color;
    update();
}

void ColorWell::choose() {
    if (!m_chooser) return;
    const auto picked = m_chooser(window(), m_color);
    if (!picked || !picked->isValid()) return;
    QColor opaque = *picked;
    opaque.setAlphaF(1.0);
    showColor(opaque);
    emit colorPicked(opaque);
}

void ColorWell::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF swatch = QRectF(rect()).adjusted(6, 5, -6, -5);
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.setBrush(m_color);
    p.drawRoundedRect(swatch, 3, 3);
}
