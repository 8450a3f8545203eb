#include "hud/ThumbnailView.h"

#include "hud/HudCloseButton.h"
#include "hud/HudOutline.h"
#include "hud/HudPlacement.h"
#include "hud/HudSurface.h"
#include "hud/WindowIdentity.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

ThumbnailView::ThumbnailView(const CapturedImage& image, OpenHandler onOpen, std::function<void()> onClose,
                             bool translucent)
    : QWidget(nullptr), m_image(image), m_onOpen(std::move(onOpen)), m_onClose(std::move(onClose)),
      m_translucent(translucent), m_closeButton(new HudCloseButton(this)) {
    windowidentity::setWindowIdentity(this, QStringLiteral("Thumbnail"));
    hudsurface::prepare(this, translucent, FloatingRole::thumbnail);
    m_closeButton->move(closeInset, closeInset);
    m_closeButton->hide();
    m_closeButton->raise();
    connect(m_closeButton, &HudCloseButton::clicked, this, &ThumbnailView::closeTapped);
}

QRectF ThumbnailView::imageRect() const {
    return hudplacement::aspectFit(m_image.pointSize(), QRectF(rect()));
}

void ThumbnailView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF bounds(rect());
    hudsurface::beginRoundedSurface(p, bounds, cornerRadius, m_translucent);
    // Letterbox bars of a very wide or tall capture are a dark backdrop rather than a hole.
    p.fillRect(bounds, m_translucent ? QColor(20, 20, 22, 200) : QColor(28, 28, 30));
    const QRectF target = imageRect();
    const qreal dpr = devicePixelRatioF();
    const QImage& scaled = m_scaled.at(m_image.image, hudsurface::devicePixels(target.size(), dpr), dpr);
    if (!scaled.isNull()) p.drawImage(target, scaled);
    p.restore();
    if (m_translucent)
        hudsurface::strokeRoundedRim(p, bounds, cornerRadius, 1.0,
                                     QColor(255, 255, 255, static_cast<int>(0.3 * 255)));
    else
        hudoutline::strokeContrastRim(p, bounds, cornerRadius);
}

void ThumbnailView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_translucent) hudsurface::applyRoundedMask(this, QRectF(rect()), cornerRadius);
}

void ThumbnailView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_closeButton->show();
}

void ThumbnailView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_closeButton->hide();
}

void ThumbnailView::mousePressEvent(QMouseEvent* event) {
    // Presses on the close button go to the button; only the rest of the view arms a click.
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ThumbnailView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !std::exchange(m_pressed, false)) return;
    // Copies: opening hides the thumbnail, which releases this view.
    const OpenHandler open = m_onOpen;
    const CapturedImage image = m_image;
    if (open) open(image);
}

void ThumbnailView::closeTapped() {
    if (m_onClose) m_onClose();
}
