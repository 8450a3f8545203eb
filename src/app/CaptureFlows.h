#pragma once

#include "settings/HotkeyAction.h"

// Every way of starting work ends in one of these flows, which AppCaptureFlows carries out;
// AppDelegate only dispatches to them.
class CaptureFlows {
  public:
    virtual ~CaptureFlows() = default;

    virtual void captureFullscreen() = 0;
    virtual void captureDelayed() = 0;
    virtual void captureArea() = 0;
    virtual void repeatAreaCapture() = 0;
    virtual void captureActiveWindow() = 0;
    virtual void captureAnyWindow() = 0;
    virtual void startScrolling(bool upwards) = 0;
    virtual void instantTextRecognition() = 0;
    virtual void openFile() = 0;
    virtual void loadClipboard() = 0;
    // Opens the last capture in the editor, or the preferences without one.
    virtual void showApp() = 0;
};
