#pragma once

#include "capture/CapturedImage.h"
#include "capture/WindowInfo.h"
#include "platform/Screens.h"

#include <functional>

enum class OverlayMode { area, windowPick };

// What one selection ends in: exactly one of these reaches the caller.
struct OverlayResult {
    enum class Kind { area, window, cancelled };
    Kind kind = Kind::cancelled;
    // area: the screen dragged on, its frozen picture, and the rectangle in that screen's own
    // points (origin at its bottom-left corner, y upwards, positive size).
    ScreenInfo screen;
    CapturedImage frozen;
    QRectF rect;
    // window: the clicked window as listed when the overlay began.
    WindowInfo window;

    static OverlayResult area(const ScreenInfo& s, const CapturedImage& f, const QRectF& r) {
        OverlayResult o;
        o.kind = Kind::area;
        o.screen = s;
        o.frozen = f;
        o.rect = r;
        return o;
    }
    static OverlayResult picked(const WindowInfo& w) {
        OverlayResult o;
        o.kind = Kind::window;
        o.window = w;
        return o;
    }
    static OverlayResult cancelled() { return {}; }
};

using OverlayCompletion = std::function<void(const OverlayResult&)>;
