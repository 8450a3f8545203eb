#pragma once

#include "platform/ScreenCapture.h"
#include "platform/x11/X11PixelGrabber.h"

// Displays from the root window's pixels; single windows from their Composite pixmaps.
// X11 has no capture permission: reading the screen is allowed whenever the server answers.
class X11ScreenCapture : public BlockingScreenCapture {
  public:
    // Redirects the root's children off screen (automatic mode, so the server still draws them as
    // usual) for as long as the program runs: a window redirected only when it is captured would
    // be black wherever it was covered until it repaints.
    X11ScreenCapture();

    bool screenCaptureAllowed() const override;
    void requestScreenCaptureAccess() override {}
    PixelsOrError readDisplay(const ScreenInfo& screen) override;
    PixelsOrError readWindow(quint32 windowID) override;
    std::shared_ptr<FrozenScreen> freezeDisplay(const ScreenInfo& screen, double dimAlpha) override;

    X11PixelGrabber& grabber() { return m_grabber; }

  private:
    bool m_composite = false;
    X11PixelGrabber m_grabber;
};
