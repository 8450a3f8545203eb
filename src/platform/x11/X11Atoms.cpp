#include "platform/x11/X11Atoms.h"

#include <map>
#include <mutex>
#include <string>

namespace x11atoms {

xcb_atom_t get(xcb_connection_t* connection, const char* name) {
    static std::mutex mutex;
    static std::map<std::pair<xcb_connection_t*, std::string>, xcb_atom_t> cache;
    if (!connection) return XCB_ATOM_NONE;
    std::lock_guard lock(mutex);
    const auto key = std::make_pair(connection, std::string(name));
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(key.second.size()), name);
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, &error));
    std::free(error);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    if (atom != XCB_ATOM_NONE) cache[key] = atom;
    return atom;
}

} // namespace x11atoms
