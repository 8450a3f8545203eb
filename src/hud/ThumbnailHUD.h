#pragma once

#include "capture/CapturedImage.h"

#include <QPointer>

#include <functional>

class QTimer;
class ThumbnailView;

// The one preview thumbnail of the latest capture, in the bottom-right corner of the main screen.
// A click hands the capture to the caller; the close button, the hide-preview timer or a newer
// thumbnail take it away.
class ThumbnailHUD {
  public:
    ThumbnailHUD() = delete;

    using OpenHandler = std::function<void(const CapturedImage&)>;

    // Callable from any thread; `onOpen` is called on the main thread.
    static void show(const CapturedImage& image, OpenHandler onOpen);

    // Hides the thumbnail and drops its timer; nothing happens when none is shown. Main thread.
    static void hide();

    // The thumbnail on screen, or none. Main thread only.
    static ThumbnailView* current();
    // The pending automatic hide, or none.
    static QTimer* hideTimer();

  private:
    static void showNow(const CapturedImage& image, const OpenHandler& onOpen);

    static QPointer<ThumbnailView> s_panel;
    static QPointer<QTimer> s_hideTimer;
};
