#pragma once

#include <QRect>

#include <functional>
#include <memory>

// One running watch on a part of the screen; destroying it ends the watch.
class ScreenChangeWatch {
  public:
    virtual ~ScreenChangeWatch() = default;
    // Delivers every change the server made before this call (a round trip), so that a picture
    // taken just before is known to be older or newer than each reported change.
    virtual void sync() = 0;
};

// Tells when the window system draws into part of the screen: a capture can wait for an
// application's repaint to end instead of waiting a fixed time that must cover the slowest one.
class ScreenChanges {
  public:
    virtual ~ScreenChanges() = default;
    // Calls `changed` on the main thread whenever pixels within `rootPixels` (the root's pixel
    // space, as ScreenInfo::pixelRect) are drawn; none when the server cannot report changes.
    virtual std::unique_ptr<ScreenChangeWatch> watch(const QRect& rootPixels,
                                                     std::function<void()> changed) = 0;
};
