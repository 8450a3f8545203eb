#pragma once

#include "platform/PlatformBackends.h"

namespace x11backend {

// The X11 backend: Qt's xcb platform plus the program's own X connection.
PlatformBackend describe();

} // namespace x11backend
