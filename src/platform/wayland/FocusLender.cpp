#include "platform/wayland/FocusLender.h"

#include <QPainter>

FocusLender::FocusLender(std::function<void(bool)> onFocus, int patienceMs) : m_onFocus(std::move(onFocus)) {
    setTitle(QStringLiteral("Pictro Clipboard"));
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    // A fixed size makes tiling compositors float it instead of rearranging the user's windows.
    const QSize size(1, 1);
    resize(size);
    setMinimumSize(size);
    setMaximumSize(size);
    m_patience.setSingleShot(true);
    connect(&m_patience, &QTimer::timeout, this, [this] { done(false); });
    m_patience.start(patienceMs);
    show();
    requestActivate();
}

void FocusLender::paintEvent(QPaintEvent*) {
    // A surface is shown only once it has a buffer.
    QPainter(this).fillRect(QRect(QPoint(), size()), Qt::transparent);
}

bool FocusLender::event(QEvent* e) {
    const bool handled = QRasterWindow::event(e);
    if (e->type() == QEvent::FocusIn || (e->type() == QEvent::WindowActivate && isActive())) done(true);
    return handled;
}

void FocusLender::done(bool focused) {
    if (m_done) return;
    m_done = true;
    m_patience.stop();
    if (m_onFocus) m_onFocus(focused);
    // Kept a little longer, so the compositor has taken the clipboard before the focus moves on.
    QTimer::singleShot(200, this, [this] {
        close();
        deleteLater();
    });
}
