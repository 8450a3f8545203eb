#pragma once

#include "capture/CaptureResult.h"
#include "capture/WindowInfo.h"
#include "platform/Screens.h"
#include "settings/SettingsEnums.h"

#include <QFuture>

#include <memory>
#include <optional>
#include <vector>

class FrozenScreen;

// A screen frozen by the window system (see FrozenScreen), and its pixels as captureDisplay
// would give them, read back from the frozen picture.
struct FrozenDisplay {
    std::shared_ptr<FrozenScreen> held;
    QFuture<CaptureResult> pixels;
};

// The one place where pixels are taken from the screen. Stateless: every operation is static and
// works through the installed Platform.
//
// Threads. The synchronous operations run on the main thread. captureDisplay and captureWindow
// check what they can at once, on the calling (main) thread, then ask the platform for the pixels,
// which it delivers asynchronously (X11 reads them on a worker of Qt's global thread pool; other
// backends may wait for another process); the returned future always finishes with a
// CaptureResult (an image or a CaptureError), never with an exception, on whichever thread the
// backend finished. A caller that goes on to
// touch windows or settings continues on the main thread through a context object:
//     CaptureEngine::captureDisplay(screen).then(this, [this](const CaptureResult& r) { … });
// (the continuation then runs in the context's thread, and not at all once the context is gone).
class CaptureEngine {
  public:
    // Windows a user could mean, front to back.
    static std::vector<WindowInfo> onScreenWindows();
    // The frontmost application's topmost window, else the topmost window; none without windows.
    static std::optional<WindowInfo> frontmostWindow();

    // The whole screen at its native density, without the pointer. Errors: permission, noDisplay
    // (the screen is no longer attached), failed.
    static QFuture<CaptureResult> captureDisplay(const ScreenInfo& screen);
    // The screen held by the window system with a copy dimmed by `dimAlpha` black; none where the
    // backend cannot hold it, or on the errors captureDisplay would report (then that is the way).
    static std::optional<FrozenDisplay> freezeDisplay(const ScreenInfo& screen, double dimAlpha);

    // The screen holding most of a top-left-space rectangle; the first screen when it meets none;
    // none without screens.
    static std::optional<ScreenInfo> screenContaining(const QRectF& cgRect);
    static std::optional<ScreenInfo> screenContaining(const QRectF& cgRect,
                                                      const std::vector<ScreenInfo>& screens);

    // One window's own pixels. Errors: permission, noWindow (closed or off screen), failed.
    static QFuture<CaptureResult> captureWindow(quint32 windowID);
    // Pixels per point for a window capture: its screen's scale, else the main screen's, else 2.
    static double windowScale(const std::optional<QRectF>& frameCG, const std::vector<ScreenInfo>& screens,
                              const std::optional<ScreenInfo>& mainScreen);

    // The capture on the background the style asks for (see windowshot::compose); `screen` is the
    // window's screen, needed for the wallpaper only. Never fails.
    static CapturedImage composeWindowShot(const CapturedImage& shot, WindowBGStyle style,
                                           const std::optional<ScreenInfo>& screen);
};
