#pragma once

#include "platform/Screens.h"

// Screens as Qt's xcb platform reports them (RandR monitors), converted to the bottom-left space.
class X11Screens : public Screens {
public:
    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;
    QPointF mouseLocation() const override;
    geometry::SpaceConverter converter() const override;
};
