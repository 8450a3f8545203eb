#include "platform/PlatformBackends.h"

// Each backend lives in its own library under its own CMake option; this is the one file that
// knows which were built.
#ifdef PICTRO_WITH_X11
#include "platform/x11/X11Backend.h"
#endif
#ifdef PICTRO_WITH_WAYLAND
#include "platform/wayland/WaylandBackend.h"
#endif

void registerBuiltinBackends() {
#ifdef PICTRO_WITH_X11
    PlatformBackends::add(x11backend::describe());
#endif
#ifdef PICTRO_WITH_WAYLAND
    PlatformBackends::add(waylandbackend::describe());
#endif
}
