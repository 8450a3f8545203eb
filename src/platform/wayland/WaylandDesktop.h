#pragma once

#include "platform/WindowServer.h"
#include "platform/Workspace.h"

// What a Wayland client is not shown: other clients' windows and which of them has the focus.
class WaylandWindowServer : public WindowServer {
  public:
    std::vector<RawWindowEntry> onScreenWindowList() const override { return {}; }
    std::optional<qint32> frontmostApplicationPid() const override { return std::nullopt; }
    qint32 ownPid() const override;
    std::optional<QRectF> windowFrame(quint32) const override { return std::nullopt; }
};

// Links through the desktop (xdg-open, or the portal's OpenURI where Qt uses it); the wallpaper
// is not something a Wayland client can read in general.
class WaylandWorkspace : public Workspace {
  public:
    std::optional<QString> desktopImagePath(const ScreenInfo&) const override { return std::nullopt; }
    bool openURL(const QUrl& url) override;
};
