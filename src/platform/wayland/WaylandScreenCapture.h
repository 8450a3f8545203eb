#pragma once

#include "platform/ScreenCapture.h"
#include "platform/wayland/DesktopPictureSource.h"

class Screens;

// Displays through the desktop portal: one picture of the whole desktop, cut to the output asked
// for. Single windows cannot be captured: a Wayland client sees no other client's windows.
class WaylandScreenCapture : public BlockingScreenCapture {
  public:
    explicit WaylandScreenCapture(const Screens& screens, PortalScreenshot::Options options = {});

    // Whether the portal lets Pictro take screenshots is known only by asking: the first capture
    // asks, and a refusal comes back as that capture's error.
    bool screenCaptureAllowed() const override { return true; }
    void requestScreenCaptureAccess() override {}
    // Run on a worker of Qt's pool (each waits there for the portal's answer).
    PixelsOrError readDisplay(const ScreenInfo& screen) override;
    PixelsOrError readWindow(quint32 windowID) override;
    // A compositor without a cursor plane (any headless or software-rendered one) draws the
    // pointer into the screenshots its portal gives.
    bool picturesMayShowPointer() const override { return true; }
    // After synthetic input: the next capture shows the desktop as it is now.
    void forgetLastPicture() { m_source.forgetLastPicture(); }

  private:
    const Screens& m_screens;
    DesktopPictureSource m_source;
};
