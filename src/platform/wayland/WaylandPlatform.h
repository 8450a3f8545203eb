#pragma once

#include "platform/Platform.h"
#include "platform/wayland/WaylandDesktop.h"
#include "platform/wayland/WaylandHotkeyService.h"
#include "platform/wayland/WaylandPasteboard.h"
#include "platform/wayland/WaylandScreenCapture.h"
#include "platform/wayland/WaylandScreens.h"

// A Wayland session, through Qt's Wayland platform and the desktop portals.
class WaylandPlatform : public Platform {
public:
    Screens& screens() override { return m_screens; }
    ScreenCapture& screenCapture() override { return m_capture; }
    InputSynth& inputSynth() override { return m_input; }
    HotkeyService& hotkeys() override { return m_hotkeys; }
    WindowServer& windowServer() override { return m_windows; }
    Pasteboard& pasteboard() override { return m_pasteboard; }
    Workspace& workspace() override { return m_workspace; }

private:
    WaylandScreens m_screens;
    WaylandScreenCapture m_capture{m_screens};
    WaylandInputSynth m_input;
    WaylandHotkeyService m_hotkeys;
    WaylandWindowServer m_windows;
    WaylandPasteboard m_pasteboard;
    WaylandWorkspace m_workspace;
};
