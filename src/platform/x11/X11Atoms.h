#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

// Owner of anything xcb hands out with malloc: replies, errors, image data.
struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XcbPtr = std::unique_ptr<T, XcbFree>;

// Interned atoms of the program's own connection, looked up once and cached. Thread-safe.
namespace x11atoms {
// XCB_ATOM_NONE when the server cannot be asked.
xcb_atom_t get(xcb_connection_t* connection, const char* name);
} // namespace x11atoms
