#include "overlay/OverlayWindow.h"

#include "hud/FloatingWindow.h"
#include "hud/WindowIdentity.h"
#include "overlay/SelectionOverlayView.h"
#include "platform/FrozenScreen.h"
#include "platform/Log.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
// The hotkey's key is usually still down when the overlay appears, and its passive grab keeps the
// keyboard until the key is released: retry for up to two seconds.
constexpr int grabAttempts = 100;
constexpr int grabRetryMs = 20;
} // namespace

OverlayWindow::OverlayWindow(OverlayMode mode, const ScreenInfo& screen, OverlayPicture picture,
                             std::vector<WindowInfo> windowList, SelectionOverlay* owner, bool translucent)
    : QWidget(nullptr) {
    windowidentity::setWindowIdentity(this, QStringLiteral("Selection"));
    floatingwindow::prepare(this, FloatingRole::selectionOverlay);
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (translucent) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    // Placed over the screen's whole frame, panels included: the platform's floating traits are
    // what let the window lie there.
    setGeometry(Platform::current().screens().converter().bottomLeftToQt(screen.frame).toRect());
    // A Wayland client cannot place its windows: the compositor covers an output with a window
    // that asks to be full screen there.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        for (QScreen* s : QGuiApplication::screens())
            if (s->name() == screen.name) setScreen(s);
        setWindowState(Qt::WindowFullScreen);
    }
    m_view = new SelectionOverlayView(mode, screen, std::move(picture), std::move(windowList), owner, this);
    m_view->setGeometry(rect());
    setCursor(Qt::CrossCursor);
    showHeldPicture();
}

void OverlayWindow::showHeldPicture() {
    FrozenScreen* held = m_view->heldPicture();
    // Drawn on the window in its pixels, so only where they are the points.
    if (!held || devicePixelRatioF() != 1.0) return;
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    if (!held->setAsBackground(winId())) {
        setAttribute(Qt::WA_PaintOnScreen, false);
        return;
    }
    m_view->drawOverHeldPicture();
}

void OverlayWindow::paintEvent(QPaintEvent* event) {
    if (testAttribute(Qt::WA_PaintOnScreen))
        m_view->paintOverHeld(event->region().translated(-m_view->pos()));
}

QPaintEngine* OverlayWindow::paintEngine() const {
    // Painting on screen is the view's own business (it draws through the held picture).
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QWidget::paintEngine();
}

void OverlayWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWindow* handle = windowHandle()) {
        handle->removeEventFilter(this);
        handle->installEventFilter(this);
        if (handle->isExposed() && !m_exposed) {
            m_exposed = true;
            emit exposed();
        }
    }
}

bool OverlayWindow::eventFilter(QObject* watched, QEvent* event) {
    // The server paints the window's background on every expose, just before Qt's paint.
    if (event->type() == QEvent::Expose && watched == windowHandle() && testAttribute(Qt::WA_PaintOnScreen))
        m_view->backgroundRepainted();
    if (event->type() == QEvent::Expose && watched == windowHandle() && !m_exposed &&
        windowHandle()->isExposed()) {
        m_exposed = true;
        // Announced after Qt has handled the expose, so the first frame is painted by then.
        QTimer::singleShot(0, this, [this] { emit exposed(); });
    }
    return QWidget::eventFilter(watched, event);
}

void OverlayWindow::takeInput(bool mouseToo) {
    raise();
    activateWindow();
    m_view->setFocus(Qt::ActiveWindowFocusReason);
    if (m_exposed) {
        tryGrab(grabAttempts, mouseToo);
    } else {
        // A grab of a window the server has not mapped yet fails; wait for the first expose.
        connect(
            this, &OverlayWindow::exposed, this, [this, mouseToo] { tryGrab(grabAttempts, mouseToo); },
            Qt::SingleShotConnection);
    }
}

void OverlayWindow::tryGrab(int attemptsLeft, bool mouseToo) {
    QWindow* handle = windowHandle();
    if (!handle || !isVisible()) return;
    // The widget grab routes Qt's own events to the view; the window grab is the server's.
    m_view->grabKeyboard();
    if (mouseToo) m_view->grabMouse();
    if (floatingwindow::grabInput(this, mouseToo)) return;
    if (attemptsLeft <= 1) {
        qCWarning(lcOverlay, "the selection overlay could not take the keyboard; Esc may not reach it");
        return;
    }
    QTimer::singleShot(grabRetryMs, this,
                       [this, attemptsLeft, mouseToo] { tryGrab(attemptsLeft - 1, mouseToo); });
}
