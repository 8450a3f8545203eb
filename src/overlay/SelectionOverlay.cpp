#include "overlay/SelectionOverlay.h"

#include "capture/CaptureEngine.h"
#include "overlay/OverlayGeometry.h"
#include "overlay/OverlayWindow.h"
#include "overlay/SelectionOverlayView.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/TimingMarks.h"
#include "platform/WindowServer.h"

#include <QTimer>

namespace {
SelectionOverlay* s_current = nullptr;
SelectionOverlay::CaptureErrorHandler s_errorHandler;
} // namespace

void SelectionOverlay::begin(OverlayMode mode, OverlayCompletion completion) {
    if (s_current) return;
    timingmarks::mark("overlay: requested");
    s_current = new SelectionOverlay(mode, std::move(completion));
    QTimer::singleShot(0, s_current, [overlay = s_current] { overlay->start(); });
}

SelectionOverlay* SelectionOverlay::current() {
    return s_current;
}

void SelectionOverlay::setCaptureErrorHandler(CaptureErrorHandler handler) {
    s_errorHandler = std::move(handler);
}

SelectionOverlay::SelectionOverlay(OverlayMode mode, OverlayCompletion completion)
    : m_mode(mode), m_completion(std::move(completion)) {}

SelectionOverlay::~SelectionOverlay() {
    for (OverlayWindow* window : m_windows)
        delete window;
    if (s_current == this) s_current = nullptr;
}

void SelectionOverlay::start() {
    if (m_finished) return;
    // The screens of this moment are kept; a screen attached later gets no window.
    m_screens = Platform::current().screens().screens();
    if (m_screens.empty()) {
        failCapture(CaptureError::noDisplay);
        return;
    }
    // Without a compositing manager a translucent window cannot show the live screen behind it,
    // so window picking draws a frozen picture as area mode does.
    const bool freeze =
        m_mode == OverlayMode::area || !Platform::current().windowServer().compositingManagerRunning();
    if (freeze && !freezeScreens()) {
        captureScreen(0);
    } else {
        openWindows();
    }
}

// Where the window system can hold the screens' pictures, the windows show them at once and the
// pixels the program needs follow on their own.
bool SelectionOverlay::freezeScreens() {
    std::map<std::size_t, FrozenDisplay> held;
    for (std::size_t i = 0; i < m_screens.size(); ++i) {
        auto frozen = CaptureEngine::freezeDisplay(m_screens[i], SelectionOverlayView::dimAlpha(m_mode));
        if (!frozen) return false;
        held.emplace(i, std::move(*frozen));
    }
    timingmarks::mark("overlay: screens frozen");
    for (auto& [index, frozen] : held)
        frozen.pixels.then(this, [this](const CaptureResult& result) {
            if (m_finished) return;
            if (!result.ok()) {
                failCapture(result.error());
                return;
            }
            timingmarks::mark("overlay: frozen pixels read");
        });
    m_held = std::move(held);
    return true;
}

void SelectionOverlay::captureScreen(std::size_t index) {
    if (m_finished) return;
    if (index >= m_screens.size()) {
        openWindows();
        return;
    }
    CaptureEngine::captureDisplay(m_screens[index]).then(this, [this, index](const CaptureResult& result) {
        if (!result.ok()) {
            failCapture(result.error());
            return;
        }
        timingmarks::mark("overlay: screen captured");
        m_frozen.emplace(index, result.image());
        captureScreen(index + 1);
    });
}

void SelectionOverlay::failCapture(CaptureError error) {
    finish(OverlayResult::cancelled());
    if (s_errorHandler) {
        s_errorHandler(error);
    } else {
        qCWarning(lcOverlay, "the selection overlay could not capture the screens (%s)",
                  qPrintable(captureErrorName(error)));
    }
}

void SelectionOverlay::openWindows() {
    if (m_finished) return;
    if (m_mode == OverlayMode::windowPick) m_windowList = CaptureEngine::onScreenWindows();
    const bool translucent = m_frozen.empty() && m_held.empty();
    for (std::size_t i = 0; i < m_screens.size(); ++i) {
        OverlayPicture picture;
        if (auto it = m_frozen.find(i); it != m_frozen.end()) picture.image = it->second;
        if (auto it = m_held.find(i); it != m_held.end()) picture.held = it->second;
        auto* window =
            new OverlayWindow(m_mode, m_screens[i], std::move(picture), m_windowList, this, translucent);
        connect(window, &OverlayWindow::exposed, this, &SelectionOverlay::windowExposed);
        m_windows.push_back(window);
        window->show();
    }
    // Keys go to the screen under the pointer. A mouse grab would send every click to that one
    // window, so the mouse is grabbed only when there is a single screen; with several, the
    // override-redirect windows receive the pointer anyway.
    timingmarks::mark("overlay: windows shown");
    const QPointF mouse = Platform::current().screens().mouseLocation();
    const std::size_t keyIndex = overlaygeometry::screenIndexAt(mouse, m_screens).value_or(0);
    if (keyIndex < m_windows.size()) m_windows[keyIndex]->takeInput(m_windows.size() == 1);
}

void SelectionOverlay::windowExposed() {
    timingmarks::mark("overlay: window exposed");
    if (++m_exposedCount == static_cast<int>(m_windows.size())) emit shown();
}

void SelectionOverlay::finish(const OverlayResult& result) {
    if (m_finished) return;
    m_finished = true;
    for (OverlayWindow* window : m_windows) {
        window->hide();
        window->deleteLater();
    }
    m_windows.clear();
    if (s_current == this) s_current = nullptr;
    deleteLater();
    // Moved out first: the completion may start the next overlay.
    OverlayCompletion completion = std::move(m_completion);
    if (completion) completion(result);
}
