#include "overlay/OverlayWindow.h"

#include "hud/FloatingWindow.h"
#include "hud/WindowIdentity.h"
#include "overlay/SelectionOverlayView.h"
#include "platform/Log.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
// The hotkey's key is usually still down when the overlay appears, and its passive grab keeps the
// keyboard until the key is released: retry for up to two seconds.
constexpr int grabAttempts = 100;
constexpr int grabRetryMs = 20;
} // namespace

OverlayWindow::OverlayWindow(OverlayMode mode, const ScreenInfo& screen, std::optional<CapturedImage> frozen,
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
    m_view = new SelectionOverlayView(mode, screen, std::move(frozen), std::move(windowList), owner, this);
    m_view->setGeometry(rect());
    setCursor(Qt::CrossCursor);
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
