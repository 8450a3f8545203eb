#include "platform/wayland/WaylandHotkeyService.h"

int WaylandHotkeyService::registerHotkey(const HotkeyRequest&, Registration) {
    // Refused: the key cannot be grabbed by a client.
    return -1;
}
