#pragma once

#include "platform/ScreenCapture.h"
#include "platform/wayland/DesktopPictureSource.h"
#include "platform/wayland/WaylandScreencopy.h"

#include <memory>
#include <mutex>

class Screens;

// Displays straight from the compositor where it offers screen copy (sway and its kin): the output
// asked for, as it shows now. Elsewhere, and for an output screen copy cannot give as it shows
// (turned or mirrored), through the desktop portal: one picture of the whole desktop, cut to the
// output. Single windows cannot be captured: a Wayland client sees no other client's windows.
class WaylandScreenCapture : public BlockingScreenCapture {
  public:
    enum class Way {
        screencopyWhereOffered,
        portalOnly, // PICTRO_WAYLAND_CAPTURE=portal: how GNOME and KDE are reached, tried on sway
    };
    static Way wayFromEnvironment();

    explicit WaylandScreenCapture(const Screens& screens, PortalScreenshot::Options options = {},
                                  Way way = Way::screencopyWhereOffered);
    ~WaylandScreenCapture() override;

    // Whether the portal lets Pictro take screenshots is known only by asking: the first capture
    // asks, and a refusal comes back as that capture's error.
    bool screenCaptureAllowed() const override { return true; }
    void requestScreenCaptureAccess() override {}
    // Run on a worker of Qt's pool (each waits there for the portal's answer).
    PixelsOrError readDisplay(const ScreenInfo& screen) override;
    PixelsOrError readWindow(quint32 windowID) override;
    // A compositor without a cursor plane (any headless or software-rendered one) draws the
    // pointer into every picture of an output it gives, copied or through its portal.
    bool picturesMayShowPointer() const override { return true; }
    // After synthetic input: the next capture shows the desktop as it is now.
    void forgetLastPicture() { m_source.forgetLastPicture(); }
    // Whether captures go straight to the compositor; asks it on the first call.
    bool copiesFromCompositor();

  private:
    WaylandScreencopy* screencopy();
    PixelsOrError readThroughPortal(const ScreenInfo& screen);

    const Screens& m_screens;
    DesktopPictureSource m_source;
    Way m_way;
    std::once_flag m_screencopyLooked;
    std::unique_ptr<WaylandScreencopy> m_screencopy;
};
