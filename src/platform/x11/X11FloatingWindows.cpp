#include "platform/x11/X11FloatingWindows.h"

FloatingTraits X11FloatingWindows::traits(FloatingRole role) const {
    FloatingTraits traits = standardFloatingTraits(role);
    // A pin is an ordinary window the user moves; everything else is placed by the program.
    if (role != FloatingRole::pin) traits.flags |= Qt::X11BypassWindowManagerHint;
    return traits;
}
