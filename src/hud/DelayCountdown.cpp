#include "hud/DelayCountdown.h"

#include "hud/HudSurface.h"
#include "hud/WindowIdentity.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int panelSize = 112; // points
constexpr double cornerRadius = 22;

} // namespace

QPointer<DelayCountdown> DelayCountdown::s_current;

DelayCountdown* DelayCountdown::start(int seconds, std::function<void()> onElapsed) {
    if (DelayCountdown* running = s_current) {
        // Stopped at once, so no tick still due can call back before it is deleted.
        running->m_tick.stop();
        running->m_onElapsed = nullptr;
        running->hide();
        running->deleteLater();
    }
    auto* countdown = new DelayCountdown(std::max(1, seconds), std::move(onElapsed));
    s_current = countdown;
    countdown->placeOnPointerScreen();
    countdown->show();
    return countdown;
}

DelayCountdown* DelayCountdown::current() {
    return s_current.data();
}

DelayCountdown::DelayCountdown(int seconds, std::function<void()> onElapsed)
    : QWidget(nullptr), m_seconds(seconds), m_number(seconds), m_onElapsed(std::move(onElapsed)),
      m_translucent(hudsurface::compositingActive()) {
    windowidentity::setWindowIdentity(this, QStringLiteral("Countdown"));
    hudsurface::prepare(this, m_translucent, FloatingRole::toast);
    setWindowFlag(Qt::WindowTransparentForInput);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(panelSize, panelSize);
    if (!m_translucent) hudsurface::applyRoundedMask(this, QRectF(rect()), cornerRadius);
    m_clock.start();
    // Ticks are read against the clock, so a late tick never stretches the countdown.
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(20);
    connect(&m_tick, &QTimer::timeout, this, &DelayCountdown::tick);
    m_tick.start();
}

void DelayCountdown::placeOnPointerScreen() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.center() - QPoint(panelSize / 2, panelSize / 2));
}

void DelayCountdown::tick() {
    const qint64 total = static_cast<qint64>(m_seconds) * 1000;
    const qint64 left = total - m_clock.elapsed();
    if (left <= 0) {
        elapse();
        return;
    }
    if (left <= clearMilliseconds) {
        if (isVisible()) hide();
        m_number = 0;
        return;
    }
    const int number = static_cast<int>((left + 999) / 1000);
    if (number != m_number) {
        m_number = number;
        update();
    }
}

void DelayCountdown::elapse() {
    m_tick.stop();
    hide();
    std::function<void()> onElapsed = std::move(m_onElapsed);
    if (s_current == this) s_current = nullptr;
    deleteLater();
    if (onElapsed) onElapsed();
}

void DelayCountdown::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF bounds(rect());
    hudsurface::beginRoundedSurface(p, bounds, cornerRadius, m_translucent);
    p.restore();
    hudsurface::paintDarkPanel(p, bounds, cornerRadius, m_translucent);
    QFont font = p.font();
    font.setPixelSize(64);
    font.setWeight(QFont::DemiBold);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(bounds, Qt::AlignCenter, QString::number(m_number));
}
