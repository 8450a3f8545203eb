#pragma once

#include "platform/WindowServer.h"

class Screens;

// The window list from the window manager's EWMH hints on the root window, front to back.
class X11WindowServer : public WindowServer {
  public:
    explicit X11WindowServer(const Screens& screens);

    std::vector<RawWindowEntry> onScreenWindowList() const override;
    std::optional<qint32> frontmostApplicationPid() const override;
    qint32 ownPid() const override;
    std::optional<QRectF> windowFrame(quint32 windowID) const override;
    bool compositingManagerRunning() const override;

  private:
    const Screens& m_screens;
};
