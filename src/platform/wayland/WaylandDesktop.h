#pragma once

#include "platform/InputSynth.h"
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

// A Wayland client cannot post input that other clients receive, nor read keys outside its own
// windows: nothing is ever posted, and no key is seen as held.
class WaylandInputSynth : public InputSynth {
public:
    bool accessibilityTrusted() const override { return false; }
    void requestAccessibilityTrust() override {}
    void warpPointer(const QPointF&) override {}
    bool postWheelClicks(int) override { return false; }
    bool keyIsDown(quint32) const override { return false; }
};

// Links through the desktop (xdg-open, or the portal's OpenURI where Qt uses it); the wallpaper
// is not something a Wayland client can read in general.
class WaylandWorkspace : public Workspace {
public:
    std::optional<QString> desktopImagePath(const ScreenInfo&) const override { return std::nullopt; }
    bool openURL(const QUrl& url) override;
};
