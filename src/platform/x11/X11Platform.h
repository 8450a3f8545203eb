#pragma once

#include "platform/Platform.h"
#include "platform/x11/X11FloatingWindows.h"
#include "platform/x11/X11HotkeyService.h"
#include "platform/x11/X11InputSynth.h"
#include "platform/x11/X11Pasteboard.h"
#include "platform/x11/X11ScreenCapture.h"
#include "platform/x11/X11ScreenChanges.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/X11WindowServer.h"
#include "platform/x11/X11Workspace.h"

// Everything a capture needs is there on X11: the window list, window pixels, the pointer,
// synthetic input, key grabs and windows above all.
class X11Platform : public Platform {
  public:
    QString name() const override { return QStringLiteral("x11"); }
    Capabilities capabilities() const override { return Capabilities::all(); }
    Screens& screens() override { return m_screens; }
    ScreenCapture& screenCapture() override { return m_capture; }
    InputSynth& inputSynth() override { return m_input; }
    HotkeyService& hotkeys() override { return m_hotkeys; }
    WindowServer& windowServer() override { return m_windows; }
    Pasteboard& pasteboard() override { return m_pasteboard; }
    Workspace& workspace() override { return m_workspace; }
    FloatingWindows& floatingWindows() override { return m_floating; }
    ScreenChanges* screenChanges() override { return &m_changes; }

    X11ScreenCapture& x11Capture() { return m_capture; }
    X11Pasteboard& x11Pasteboard() { return m_pasteboard; }

  private:
    X11Screens m_screens;
    X11ScreenCapture m_capture;
    X11InputSynth m_input{m_screens};
    X11HotkeyService m_hotkeys;
    X11WindowServer m_windows{m_screens};
    X11Pasteboard m_pasteboard;
    X11Workspace m_workspace;
    X11FloatingWindows m_floating;
    X11ScreenChanges m_changes;
};
