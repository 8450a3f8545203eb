#pragma once

#include "platform/Platform.h"
#include "platform/wayland/WaylandDesktop.h"
#include "platform/wayland/WaylandFloatingWindows.h"
#include "platform/wayland/WaylandHotkeyService.h"
#include "platform/wayland/WaylandInputSynth.h"
#include "platform/wayland/WaylandPasteboard.h"
#include "platform/wayland/WaylandScreenCapture.h"
#include "platform/wayland/WaylandScreens.h"

// A Wayland session, through Qt's Wayland platform and the desktop portals. A client sees no
// other client's windows, cannot grab keys or place windows, and knows the pointer only over its
// own surfaces: none of those capabilities is claimed. It can scroll other windows only where the
// compositor offers a virtual pointer.
class WaylandPlatform : public Platform {
  public:
    QString name() const override { return QStringLiteral("wayland"); }
    Capabilities capabilities() const override {
        Capabilities c;
        c.set(Capability::syntheticScroll, m_input.canPost());
        return c;
    }
    FloatingWindows& floatingWindows() override { return m_floating; }
    Screens& screens() override { return m_screens; }
    ScreenCapture& screenCapture() override { return m_capture; }
    InputSynth& inputSynth() override { return m_input; }
    HotkeyService& hotkeys() override { return m_hotkeys; }
    WindowServer& windowServer() override { return m_windows; }
    Pasteboard& pasteboard() override { return m_pasteboard; }
    Workspace& workspace() override { return m_workspace; }

  private:
    WaylandScreens m_screens;
    WaylandScreenCapture m_capture{m_screens, {}, WaylandScreenCapture::wayFromEnvironment()};
    // A picture of the desktop from before Pictro scrolled it must not stand for one after.
    WaylandInputSynth m_input{[this] { m_capture.forgetLastPicture(); }};
    WaylandHotkeyService m_hotkeys;
    WaylandWindowServer m_windows;
    WaylandPasteboard m_pasteboard;
    WaylandWorkspace m_workspace;
    WaylandFloatingWindows m_floating;
};
