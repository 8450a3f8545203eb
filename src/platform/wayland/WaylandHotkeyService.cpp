#include "platform/wayland/WaylandHotkeyService.h"

int WaylandHotkeyService::registerHotkey(quint32, quint32, Registration) {
    // Refused: the key cannot be grabbed by a client.
    return -1;
}
