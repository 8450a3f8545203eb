#pragma once

#include "platform/PlatformBackends.h"

namespace waylandbackend {

// The Wayland backend as the loader sees it.
PlatformBackend describe();

} // namespace waylandbackend
