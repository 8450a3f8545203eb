#include "hud/ToastWindow.h"

#include "capture/SoftShadow.h"
#include "hud/HudSurface.h"
#include "hud/WindowIdentity.h"
#include "platform/Symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QTimer>

#include <cmath>

namespace {

constexpr int translucentShadowMargin = 18;
constexpr double shadowBlur = 16.0;
constexpr QPointF shadowOffset(0.0, 3.0);

QImage panelShadow(const QSizeF& panelSize) {
    QImage shape(QSize(static_cast<int>(std::ceil(panelSize.width())),
                       static_cast<int>(std::ceil(panelSize.height()))),
                 QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(QPointF(0, 0), panelSize), toastlayout::cornerRadius, toastlayout::cornerRadius);
    p.end();
    const auto shadow = softshadow::make(shape, shadowBlur, QColor(0, 0, 0, 110));
    // Re-centre on a canvas the size of the window, so painting needs no further offsets.
    QImage canvas(shape.size() + QSize(2 * translucentShadowMargin, 2 * translucentShadowMargin),
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter c(&canvas);
    c.drawImage(QPointF(translucentShadowMargin - shadow.margin, translucentShadowMargin - shadow.margin) +
                    shadowOffset,
                shadow.image);
    return canvas;
}

} // namespace

ToastWindow::ToastWindow(const QString& message, const QString& symbol, bool translucent)
    : QWidget(nullptr), m_message(message), m_symbol(symbol), m_translucent(translucent),
      m_shadowMargin(translucent ? translucentShadowMargin : 0),
      m_layout(toastlayout::make(message, Symbols::isKnown(symbol), toastlayout::font())),
      m_hideTimer(new QTimer(this)) {
    windowidentity::setWindowIdentity(this, QStringLiteral("Toast"));
    hudsurface::prepare(this, translucent, FloatingRole::toast);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(toastlayout::font());

    const QSize panelSize(static_cast<int>(std::ceil(m_layout.size.width())),
                          static_cast<int>(std::ceil(m_layout.size.height())));
    setFixedSize(panelSize + QSize(2 * m_shadowMargin, 2 * m_shadowMargin));
    if (translucent)
        m_shadow = panelShadow(m_layout.size);
    else
        hudsurface::applyRoundedMask(this, panelRect(), toastlayout::cornerRadius);

    m_hideTimer->setSingleShot(true);
    m_hideTimer->setTimerType(Qt::PreciseTimer); // a coarse timer may end the toast early
    connect(m_hideTimer, &QTimer::timeout, this, &ToastWindow::startFade);
}

QRectF ToastWindow::panelRect() const {
    return QRectF(QPointF(m_shadowMargin, m_shadowMargin), m_layout.size);
}

void ToastWindow::placePanel(const QRect& panelGeometry) {
    move(panelGeometry.topLeft() - QPoint(m_shadowMargin, m_shadowMargin));
}

QRect ToastWindow::panelGeometry() const {
    return QRect(geometry().topLeft() + QPoint(m_shadowMargin, m_shadowMargin),
                 size() - QSize(2 * m_shadowMargin, 2 * m_shadowMargin));
}

void ToastWindow::scheduleFadeOut(double seconds, std::function<void()> done) {
    m_done = std::move(done);
    m_hideTimer->start(static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0)));
}

void ToastWindow::startFade() {
    m_fading = true;
    // Without a compositing manager the opacity has no visible effect; the toast then stays
    // whole for the fade's length and vanishes at its end, which keeps the timing the same.
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(fadeMilliseconds);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, &ToastWindow::finishFade);
    m_fade = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastWindow::finishFade() {
    m_fading = false;
    hide();
    if (auto done = std::exchange(m_done, nullptr)) done();
}

void ToastWindow::dismissNow() {
    m_hideTimer->stop();
    m_done = nullptr;
    if (m_fade) {
        m_fade->disconnect(this);
        m_fade->stop();
    }
    m_fading = false;
    hide();
}

void ToastWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_translucent) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(rect(), Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(QPointF(0, 0), m_shadow);
    }
    const QRectF panel = panelRect();
    hudsurface::paintDarkPanel(p, panel, toastlayout::cornerRadius, m_translucent);

    const QPointF origin = panel.topLeft();
    if (!m_layout.iconRect.isEmpty()) {
        const qreal dpr = devicePixelRatioF();
        QPixmap icon =
            Symbols::drawn(m_symbol, static_cast<int>(std::lround(toastlayout::iconSize * dpr)), Qt::white);
        icon.setDevicePixelRatio(dpr);
        p.drawPixmap(m_layout.iconRect.translated(origin).topLeft(), icon);
    }
    p.setPen(Qt::white);
    p.setFont(toastlayout::font());
    QRectF line = m_layout.textRect.translated(origin);
    line.setHeight(m_layout.lineHeight);
    for (const QString& text : m_layout.lines) {
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        line.translate(0, m_layout.lineHeight);
    }
}
