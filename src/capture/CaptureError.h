#pragma once

#include <QString>

// Why a capture produced no image. It carries no user-facing words: the capture flows choose them.
enum class CaptureError {
    noDisplay,   // the requested screen is gone or cannot be captured
    noWindow,    // the requested window has closed
    cancelled,   // the user abandoned the capture; ends silently
    permission,  // the system refuses screen capture
    failed,      // the capture itself failed (an X error, out of memory); reported generically
    unavailable, // the session offers no way to the screen now (no screenshot portal, or it is mute)
};

inline QString captureErrorName(CaptureError e) {
    switch (e) {
    case CaptureError::noDisplay:
        return QStringLiteral("noDisplay");
    case CaptureError::noWindow:
        return QStringLiteral("noWindow");
    case CaptureError::cancelled:
        return QStringLiteral("cancelled");
    case CaptureError::permission:
        return QStringLiteral("permission");
    case CaptureError::failed:
        return QStringLiteral("failed");
    case CaptureError::unavailable:
        return QStringLiteral("unavailable");
    }
    return {};
}
