#pragma once

#include "platform/FloatingWindows.h"

// A Wayland client cannot place its windows or keep them above others: they are plain frameless
// windows where the compositor puts them (the selection overlay asks to be full screen on its
// output). Grabs exist only for pop-ups, so none is attempted.
class WaylandFloatingWindows : public FloatingWindows {
  public:
    FloatingTraits traits(FloatingRole role) const override { return standardFloatingTraits(role); }
    bool grabInput(QWindow* window, bool mouseToo) override;
};
