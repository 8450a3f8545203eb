#include "platform/x11/X11Properties.h"

#include <cstring>

namespace x11prop {
namespace {

// Large enough for any title or window list; the server truncates nothing below this.
constexpr uint32_t maxLongs = 1u << 20;

XcbPtr<xcb_get_property_reply_t> take(xcb_connection_t* c, Pending& pending) {
    if (!pending.sent) return nullptr;
    pending.sent = false;
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, pending.cookie, &error));
    std::free(error);
    if (!reply || reply->type == XCB_ATOM_NONE) return nullptr;
    return reply;
}

} // namespace

Pending request(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    Pending p;
    if (!c || property == XCB_ATOM_NONE) return p;
    p.cookie = xcb_get_property(c, 0, window, property, type, 0, maxLongs);
    p.sent = true;
    return p;
}

std::optional<QByteArray> takeBytes(xcb_connection_t* c, Pending& pending) {
    auto reply = take(c, pending);
    if (!reply || reply->format != 8) return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

std::optional<std::vector<uint32_t>> takeWords(xcb_connection_t* c, Pending& pending) {
    auto reply = take(c, pending);
    if (!reply || reply->format != 32) return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    std::vector<uint32_t> values(static_cast<size_t>(length) / 4);
    if (!values.empty()) std::memcpy(values.data(), xcb_get_property_value(reply.get()), values.size() * 4);
    return values;
}

std::optional<std::vector<uint32_t>> words(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                           xcb_atom_t type) {
    Pending p = request(c, window, property, type);
    return takeWords(c, p);
}

} // namespace x11prop
