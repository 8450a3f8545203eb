#pragma once

#include "platform/Screens.h"

#include <QFuture>
#include <QImage>

#include <memory>
#include <variant>

class FrozenScreen;

// Why a backend has no pixels to give. The capture engine turns these into the program's own
// capture errors; nothing here carries words for the user.
enum class CaptureFailure {
    noDisplay,   // the screen is gone or cannot be read
    noWindow,    // the window has closed or is off screen
    denied,      // the system (or the user, asked by the system) refuses screen capture
    cancelled,   // the user dismissed the system's own capture dialog
    failed,      // the read itself failed
    unavailable, // the session's way to the screen is missing or does not answer (no portal)
};

// Pixels of one display or window, or why there are none.
using PixelsOrError = std::variant<QImage, CaptureFailure>;

// Pixels of displays and windows, and whether the program may read them.
//
// Captures are asynchronous: a backend may need a round trip to another process and a permission
// dialog before it has pixels. The returned future always finishes with a PixelsOrError, never
// with an exception, and may finish on any thread (or be finished already).
class ScreenCapture {
  public:
    virtual ~ScreenCapture() = default;

    // True when screen capture is allowed right now; never prompts.
    virtual bool screenCaptureAllowed() const = 0;
    // Asks the user for screen-capture access where the system has such a prompt.
    virtual void requestScreenCaptureAccess() = 0;

    // The whole screen at its native pixel density, without the pointer unless
    // `picturesMayShowPointer`. `noDisplay` when the screen cannot be read.
    virtual QFuture<PixelsOrError> captureDisplay(const ScreenInfo& screen) = 0;
    // Whether the pointer may be drawn into the pictures: some compositors draw it into every
    // picture they give out, so whoever needs clean pixels moves it out of the way first.
    virtual bool picturesMayShowPointer() const { return false; }
    // The window's own pixels, decorations included, even where other windows cover it; no drop
    // shadow; transparency kept (premultiplied). `noWindow` when the window is gone.
    virtual QFuture<PixelsOrError> captureWindow(quint32 windowID) = 0;
    // The screen as it is now, held by the window system with a copy dimmed by `dimAlpha` black
    // (see FrozenScreen); none where the backend cannot hold pictures there, or the screen cannot
    // be read (then `captureDisplay` is the way).
    virtual std::shared_ptr<FrozenScreen> freezeDisplay(const ScreenInfo&, double /*dimAlpha*/) {
        return nullptr;
    }
};

// A backend whose reads block for a few milliseconds and are safe on any thread: each capture runs
// its read on a worker of Qt's global pool, so the main thread never waits for pixels.
class BlockingScreenCapture : public ScreenCapture {
  public:
    QFuture<PixelsOrError> captureDisplay(const ScreenInfo& screen) final;
    QFuture<PixelsOrError> captureWindow(quint32 windowID) final;

    // The reads themselves. Blocking; safe to call from any thread.
    virtual PixelsOrError readDisplay(const ScreenInfo& screen) = 0;
    virtual PixelsOrError readWindow(quint32 windowID) = 0;
};
