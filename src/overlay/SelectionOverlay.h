#pragma once

#include "capture/CaptureEngine.h"
#include "capture/CaptureError.h"
#include "overlay/OverlayResult.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class OverlayWindow;

// One selection over every screen: a topmost window per screen, exactly one result.
// Everything runs on the main thread.
class SelectionOverlay : public QObject {
    Q_OBJECT
  public:
    using CaptureErrorHandler = std::function<void(CaptureError)>;

    // Starts an overlay unless one is active; a dropped request never calls its completion.
    static void begin(OverlayMode mode, OverlayCompletion completion);
    // The active overlay, none when idle.
    static SelectionOverlay* current();
    // Who hears of a screen capture that failed while an overlay started (after the completion).
    static void setCaptureErrorHandler(CaptureErrorHandler handler);

    OverlayMode mode() const { return m_mode; }
    bool isFinished() const { return m_finished; }
    const std::vector<OverlayWindow*>& windows() const { return m_windows; }

    // Ends the overlay with `result`; only the first call counts.
    void finish(const OverlayResult& result);

    ~SelectionOverlay() override;

  signals:
    // Every overlay window is on screen and exposed.
    void shown();

  private:
    SelectionOverlay(OverlayMode mode, OverlayCompletion completion);
    void start();
    void captureScreen(std::size_t index);
    bool freezeScreens();
    void openWindows();
    void failCapture(CaptureError error);
    void windowExposed();

    OverlayMode m_mode;
    OverlayCompletion m_completion;
    bool m_finished = false;
    std::vector<ScreenInfo> m_screens;
    std::map<std::size_t, CapturedImage> m_frozen;
    std::map<std::size_t, FrozenDisplay> m_held;
    std::vector<WindowInfo> m_windowList;
    std::vector<OverlayWindow*> m_windows;
    int m_exposedCount = 0;
};
