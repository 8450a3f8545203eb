#pragma once

#include "platform/FloatingWindows.h"

class QWidget;

// The widget side of the platform's floating windows: overlay, scrolling border, toast, thumbnail
// and pin are all made through here, so no feature names a window system's hints.
namespace floatingwindow {

// Gives a fresh top-level widget (no native window yet) the installed platform's traits for its
// role. Attributes that pick the native window's kind (translucency) go before the first show.
void prepare(QWidget* window, FloatingRole role);

// Takes the keyboard (and the mouse) for a shown floating window; false while the system refuses.
bool grabInput(QWidget* window, bool mouseToo);

// True when a translucent window shows what lies beneath, so per-pixel alpha may be used.
bool translucencyAvailable();

} // namespace floatingwindow
