#pragma once

#include <QString>

// Where a finished capture came from; its name appears in the event log.
enum class CaptureSource { fullscreen, area, window, scrolling };

inline QString captureSourceName(CaptureSource s) {
    switch (s) {
    case CaptureSource::fullscreen:
        return QStringLiteral("fullscreen");
    case CaptureSource::area:
        return QStringLiteral("area");
    case CaptureSource::window:
        return QStringLiteral("window");
    case CaptureSource::scrolling:
        return QStringLiteral("scrolling");
    }
    return {};
}
