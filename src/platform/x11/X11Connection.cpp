#include "platform/x11/X11Connection.h"

#include <xcb/xcb.h>

X11Connection& X11Connection::shared() {
    static X11Connection instance;
    return instance;
}

bool X11Connection::serverReachable(const char* display) {
    xcb_connection_t* c = xcb_connect(display, nullptr);
    const bool ok = c && xcb_connection_has_error(c) == 0;
    if (c) xcb_disconnect(c);
    return ok;
}

X11Connection::~X11Connection() {
    if (m_connection) xcb_disconnect(m_connection);
}

void X11Connection::openLocked() {
    if (m_tried) return;
    m_tried = true;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_connection = c;
    m_screen = it.rem ? it.data : nullptr;
}

xcb_connection_t* X11Connection::connection() {
    std::lock_guard lock(m_mutex);
    openLocked();
    return m_connection;
}

xcb_screen_t* X11Connection::rootScreen() {
    std::lock_guard lock(m_mutex);
    openLocked();
    return m_screen;
}

bool X11Connection::isOpen() {
    return connection() != nullptr;
}
