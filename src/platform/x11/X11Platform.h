#pragma once

#include "platform/Platform.h"
#include "platform/x11/X11HotkeyService.h"
#include "platform/x11/X11InputSynth.h"
#include "platform/x11/X11ScreenCapture.h"
#include "platform/x11/X11Screens.h"

class X11Platform : public Platform {
public:
    Screens& screens() override { return m_screens; }
    ScreenCapture& screenCapture() override { return m_capture; }
    InputSynth& inputSynth() override { return m_input; }
    HotkeyService& hotkeys() override { return m_hotkeys; }

private:
    X11Screens m_screens;
    X11ScreenCapture m_capture;
    X11InputSynth m_input;
    X11HotkeyService m_hotkeys;
};
