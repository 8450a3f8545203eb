#pragma once

#include "platform/Screens.h"

// The outputs as Qt's Wayland platform knows them (xdg-output: logical position, size and scale).
// A Wayland client learns where the pointer is only while it is over one of its own surfaces, so
// the screen the user works on is the one holding Pictro's focused window, else the primary output.
class WaylandScreens : public Screens {
public:
    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;
    // Where the pointer last was over one of Pictro's surfaces (the overlay covers every output).
    QPointF mouseLocation() const override;
    geometry::SpaceConverter converter() const override;
};
