#pragma once

#include "platform/FloatingWindows.h"

// Windows that must lie over panels and full-screen windows bypass the window manager, which
// would otherwise keep them clear of those; they are then placed at absolute root positions.
class X11FloatingWindows : public FloatingWindows {
  public:
    FloatingTraits traits(FloatingRole role) const override;
};
