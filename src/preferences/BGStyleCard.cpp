#include "preferences/BGStyleCard.h"

#include "preferences/BGStylePreview.h"
#include "preferences/PreferencesLayout.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr double outlineRoom = 2; // half the selected outline's width, outside the preview
constexpr double labelGap = 6;

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}
} // namespace

BGStyleCard::BGStyleCard(WindowBGStyle style, QWidget* parent) : QWidget(parent), m_style(style) {
    setToolTip(bgstylepreview::toolTip(style));
    setAccessibleName(bgstylepreview::label(style));
    setCursor(Qt::PointingHandCursor);
    prefslayout::makeCallout(this);
    setFixedSize(sizeHint());
    m_animation.setDuration(120);
    m_animation.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_emphasis = v.toDouble();
        update();
    });
}

QSize BGStyleCard::sizeHint() const {
    const QSizeF p = bgstylepreview::previewSize;
    return QSize(static_cast<int>(p.width() + 2 * outlineRoom),
                 static_cast<int>(p.height() + 2 * outlineRoom + labelGap) + fontMetrics().height());
}

QRectF BGStyleCard::previewRect() const {
    return QRectF(QPointF(outlineRoom, outlineRoom), bgstylepreview::previewSize);
}

void BGStyleCard::setSelected(bool selected) {
    if (selected == m_selected) return;
    m_selected = selected;
    m_animation.stop();
    m_animation.setStartValue(m_emphasis);
    m_animation.setEndValue(selected ? 1.0 : 0.0);
    m_animation.start();
    update();
}

void BGStyleCard::setSolidColor(const QColor& color) {
    if (color == m_solidColor) return;
    m_solidColor = color;
    if (m_style == WindowBGStyle::solid) m_preview = QImage();
    update();
}

const QImage& BGStyleCard::preview() {
    const double k = devicePixelRatioF();
    if (m_preview.isNull() || m_preview.devicePixelRatio() != k)
        m_preview = bgstylepreview::render(m_style, m_solidColor, k);
    return m_preview;
}

void BGStyleCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = previewRect();
    QPainterPath clip;
    clip.addRoundedRect(area, bgstylepreview::cornerRadius, bgstylepreview::cornerRadius);
    p.save();
    p.setClipPath(clip);
    p.translate(area.topLeft());
    if (m_style == WindowBGStyle::transparent) bgstylepreview::paintCheckerboard(p, area.size());
    // Practically empty, but the whole card still answers clicks.
    if (m_style == WindowBGStyle::trimShadow)
        p.fillRect(QRectF(QPointF(0, 0), area.size()), QColor(0, 0, 0, 1));
    p.drawImage(QRectF(QPointF(0, 0), area.size()), preview());
    p.restore();
    paintOutline(p, area);

    const QRectF text(0, area.bottom() + outlineRoom + labelGap, width(), fontMetrics().height());
    p.setPen(palette().color(m_selected ? QPalette::WindowText : QPalette::PlaceholderText));
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop, bgstylepreview::label(m_style));
}

void BGStyleCard::paintOutline(QPainter& p, const QRectF& area) {
    QColor plain(128, 128, 128);
    plain.setAlphaF(0.35f);
    const QColor accent = palette().color(QPalette::Highlight);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mix(plain, accent, m_emphasis), 1.0 + 1.5 * m_emphasis));
    p.drawRoundedRect(area, bgstylepreview::cornerRadius, bgstylepreview::cornerRadius);
}

void BGStyleCard::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void BGStyleCard::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) emit clicked(m_style);
}
