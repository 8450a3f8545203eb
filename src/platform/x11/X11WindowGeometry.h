#pragma once

#include <xcb/xcb.h>

#include <QRect>

#include <optional>

// Where a client window and its window-manager frame are. A managed client is reparented into a
// frame (a child of the root) that draws the decorations; `_NET_FRAME_EXTENTS` tells how far the
// decorations reach around the client, which need not be the whole frame window.
struct X11WindowPlacement {
    xcb_window_t client = XCB_WINDOW_NONE;
    xcb_window_t frame = XCB_WINDOW_NONE; // the client's ancestor that is a child of the root
    QRect clientRect;                     // the client alone, root pixels
    uint8_t clientDepth = 0;
    QRect outer;         // client grown by the frame extents, root pixels
    QRect outerInFrame;  // the same rectangle in the frame window's own pixels
    int frameBorder = 0; // the frame window's X border width
    uint8_t frameDepth = 0;
    bool viewable = false; // the frame (and so the client) is mapped and on screen
};

namespace x11window {

// None when the window does not exist (any more).
std::optional<X11WindowPlacement> placement(xcb_connection_t* c, xcb_window_t root, xcb_window_t client);

} // namespace x11window
