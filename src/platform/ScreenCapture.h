#pragma once

#include "capture/CaptureError.h"
#include "platform/Screens.h"

#include <QImage>

#include <variant>

// Pixels of one display or window, or why there are none.
using PixelsOrError = std::variant<QImage, CaptureError>;

// Pixels of displays and windows, and whether the program may read them.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;

    // True when screen capture is allowed right now; never prompts.
    virtual bool screenCaptureAllowed() const = 0;
    // Asks the user for screen-capture access where the system has such a prompt.
    virtual void requestScreenCaptureAccess() = 0;

    // The whole screen at its native pixel density, without the pointer. `noDisplay` when the
    // screen cannot be read. Blocking; safe to call from any thread.
    virtual PixelsOrError captureDisplay(const ScreenInfo& screen) = 0;
    // The window's own pixels, decorations included, even where other windows cover it; no drop
    // shadow; transparency kept (premultiplied). `noWindow` when the window is gone. Blocking;
    // safe to call from any thread.
    virtual PixelsOrError captureWindow(quint32 windowID) = 0;
};
