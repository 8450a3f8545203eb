#include "editor/EditorColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

EditorColorButton::EditorColorButton(const QColor& color, QWidget* parent)
    : QToolButton(parent), m_color(color) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(28, 24);
    setIconSize(QSize(20, 16));
    setToolTip(tr("Colour"));
    updateSwatch();
    connect(this, &QToolButton::clicked, this, &EditorColorButton::chooseColor);
}

void EditorColorButton::setColor(const QColor& color) {
    if (!color.isValid() || color == m_color) return;
    m_color = color;
    updateSwatch();
    emit colorChanged(m_color);
}

void EditorColorButton::chooseColor() {
    // Not modal over the editor: the dialog answers through its signal, so no nested loop runs
    // while the editor might close.
    auto* dialog = new QColorDialog(m_color, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QColorDialog::ShowAlphaChannel, false);
    connect(dialog, &QColorDialog::colorSelected, this, &EditorColorButton::setColor);
    dialog->open();
}

void EditorColorButton::updateSwatch() {
    const qreal dpr = devicePixelRatioF();
    QPixmap swatch(iconSize() * dpr);
    swatch.setDevicePixelRatio(dpr);
    swatch.fill(Qt::transparent);
    QPainter p(&swatch);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(m_color);
    p.drawRoundedRect(QRectF(QPointF(0.5, 0.5), QSizeF(iconSize()) - QSizeF(1, 1)), 3, 3);
    p.end();
    setIcon(QIcon(swatch));
}
