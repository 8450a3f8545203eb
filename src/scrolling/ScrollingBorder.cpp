#include "scrolling/ScrollingBorder.h"

#include "hud/FloatingWindow.h"
#include "scrolling/ScrollStep.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

namespace {

constexpr double cornerRadius = 4.0;

QFont labelFont() {
    QFont font;
    font.setPointSizeF(11);
    font.setWeight(QFont::DemiBold);
    return font;
}

QPainterPath ringPath(const QRectF& outer, const QRectF& inner) {
    QPainterPath path;
    path.addRoundedRect(outer, cornerRadius, cornerRadius);
    path.addRect(inner);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

} // namespace

QSize ScrollingBorder::labelSize() {
    const QFontMetrics metrics(labelFont());
    // Seven digits of points stand for any height a capture reaches.
    const QString longest = scrollstep::progressText(9999999, 1.0);
    return QSize(metrics.horizontalAdvance(longest) + 16, metrics.height() + 4);
}

ScrollingBorder::ScrollingBorder(const scrollregion::BorderLayout& layout)
    : QWidget(nullptr), m_layout(layout) {
    floatingwindow::prepare(this, FloatingRole::scrollingBorder);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("Pictro Scrolling"));
    setGeometry(layout.window);

    const QPoint origin = layout.window.topLeft();
    QRegion shape =
        QRegion(layout.ring.translated(-origin)).subtracted(QRegion(layout.hole.translated(-origin)));
    if (layout.label) {
        m_label = new QLabel(scrollstep::startText(), this);
        m_label->setGeometry(layout.label->translated(-origin));
        m_label->setAlignment(Qt::AlignCenter);
        m_label->setFont(labelFont());
        m_label->setAutoFillBackground(true);
        QPalette palette = m_label->palette();
        palette.setColor(QPalette::Window, QColor(0, 0, 0, 178));
        palette.setColor(QPalette::WindowText, Qt::white);
        m_label->setPalette(palette);
        shape = shape.united(QRegion(m_label->geometry()));
    }
    // Without the shape the region would be covered by the window's (possibly opaque) middle.
    setMask(shape);
}

void ScrollingBorder::setProgress(const QString& text) {
    if (m_label) m_label->setText(text);
}

QString ScrollingBorder::progressText() const {
    return m_label ? m_label->text() : QString();
}

void ScrollingBorder::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPoint origin = m_layout.window.topLeft();
    painter.fillPath(
        ringPath(QRectF(m_layout.ring.translated(-origin)), QRectF(m_layout.hole.translated(-origin))),
        palette().color(QPalette::Highlight));
}
