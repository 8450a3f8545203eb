#include "platform/wayland/WaylandFloatingWindows.h"

#include <QWindow>

bool WaylandFloatingWindows::grabInput(QWindow* window, bool) {
    // The full-screen overlay has the keyboard focus once shown, which is all the compositor gives.
    return window->isActive();
}
