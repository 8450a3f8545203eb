#pragma once

#include "platform/wayland/PortalScreenshot.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QWaitCondition>

// Portal screenshots for callers on any thread, one at a time. The portal pictures the whole
// desktop, so everyone who asks while one is being taken (the overlay asks once per output, at
// once) shares that one: every output comes from the same moment, and the portal's backend,
// which may write each picture to one fixed file, is never asked twice at once. A picture just
// taken also serves the calls that follow right after it (the overlay asks for its outputs one
// after the other), so they come from the same moment too.
class DesktopPictureSource {
  public:
    explicit DesktopPictureSource(PortalScreenshot::Options options = {}) : m_options(std::move(options)) {}

    // The desktop now. Blocking; any thread (it runs its own event loop for the portal's answer).
    ScreenshotOutcome take();
    // The desktop has changed on purpose (Pictro scrolled a window): the picture just taken no
    // longer serves the calls that follow.
    void forgetLastPicture();

  private:
    ScreenshotOutcome askPortal();

    static constexpr qint64 sameMomentMs = 400;

    PortalScreenshot::Options m_options;
    QMutex m_mutex;
    QWaitCondition m_taken;
    bool m_inFlight = false;
    quint64 m_generation = 0;
    ScreenshotOutcome m_last;
    QElapsedTimer m_lastTaken;
};
