#pragma once

#include "platform/QtScreens.h"

// The outputs as Qt's Wayland platform knows them (xdg-output: logical position, size and scale).
// A Wayland client learns where the pointer is only while it is over one of its own surfaces, so
// the screen the user works on is the one holding Pictro's focused window, else the primary output;
// the pointer's location is where it last was over one of Pictro's surfaces (the overlay covers
// every output).
class WaylandScreens : public QtScreens {
  public:
    std::optional<ScreenInfo> mainScreen() const override;

  protected:
    QRect pixelRectOf(const QScreen* screen, qreal scale) const override;
};
