#pragma once

#include "platform/x11/X11Atoms.h"

#include <QByteArray>

#include <optional>
#include <vector>

// Window properties, read with errors returned to the caller (a window that vanished simply has
// no properties) so nothing ever lands on the connection's event queue.
namespace x11prop {

// A pending property read; send many, then collect them, to pay one round trip for all.
struct Pending {
    xcb_get_property_cookie_t cookie{};
    bool sent = false;
};

Pending request(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                xcb_atom_t type = XCB_GET_PROPERTY_TYPE_ANY);

// The raw bytes of a property of 8-bit format (strings); none when absent or of another format.
std::optional<QByteArray> takeBytes(xcb_connection_t* c, Pending& pending);
// The 32-bit items of a property (CARDINAL, ATOM, WINDOW); none when absent or of another format.
std::optional<std::vector<uint32_t>> takeWords(xcb_connection_t* c, Pending& pending);

// Convenience for a single read.
std::optional<std::vector<uint32_t>> words(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                           xcb_atom_t type = XCB_GET_PROPERTY_TYPE_ANY);

} // namespace x11prop
