#pragma once

#include "platform/ScreenChanges.h"

// Changes from the Damage extension on the root window, which reports the drawing of every window
// on it. Each watch has a connection of its own, read on the main thread as events come in, so
// that nothing else on the program's connections has to pass its events on.
class X11ScreenChanges : public ScreenChanges {
  public:
    std::unique_ptr<ScreenChangeWatch> watch(const QRect& rootPixels, std::function<void()> changed) override;
};
