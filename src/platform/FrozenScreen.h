#pragma once

#include "platform/ScreenCapture.h"

#include <QFuture>
#include <QImage>
#include <QPoint>
#include <QRegion>

#include <vector>

// A screen's picture held by the window system itself: copied there at the moment of the freeze,
// together with a dimmed copy, and drawn into a window without the pixels passing through the
// program. A window covering the screen shows the dimmed picture as soon as it is mapped, and
// whoever draws over it paints only what lies on top (a hole, a border, a readout).
// Made and drawn on the main thread; `pixels()` may finish on any thread.
class FrozenScreen {
  public:
    // Pixels the program painted itself (opaque RGB32), placed at `at` in window pixels.
    struct Tile {
        QPoint at;
        QImage image;
    };

    virtual ~FrozenScreen() = default;

    // The picture read back, as `captureDisplay` gives a screen's pixels (already on its way when
    // the freeze returns).
    virtual QFuture<PixelsOrError> pixels() = 0;
    // Makes the dimmed picture the background of `window` (a native window lying exactly over the
    // frozen screen), so the server paints it wherever the window is exposed. False when the
    // window cannot take it (another depth or size).
    virtual bool setAsBackground(quintptr window) = 0;
    // Draws into `window`, in its pixels: the picture where `clear`, the dimmed picture where
    // `dimmed`, then the tiles.
    virtual void draw(quintptr window, const QRegion& clear, const QRegion& dimmed,
                      const std::vector<Tile>& tiles) = 0;
};
