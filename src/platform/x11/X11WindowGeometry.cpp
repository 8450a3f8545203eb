#include "platform/x11/X11WindowGeometry.h"

#include "platform/x11/X11Properties.h"

namespace x11window {
namespace {

std::optional<xcb_window_t> rootChildAncestor(xcb_connection_t* c, xcb_window_t root, xcb_window_t window) {
    xcb_window_t current = window;
    for (int depth = 0; depth < 64; ++depth) {
        xcb_generic_error_t* error = nullptr;
        XcbPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, current), &error));
        std::free(error);
        if (!tree) return std::nullopt;
        if (tree->parent == root || tree->parent == XCB_WINDOW_NONE) return current;
        current = tree->parent;
    }
    return std::nullopt;
}

} // namespace

std::optional<X11WindowPlacement> placement(xcb_connection_t* c, xcb_window_t root, xcb_window_t client) {
    if (!c || client == XCB_WINDOW_NONE || client == root) return std::nullopt;
    const auto geometryCookie = xcb_get_geometry(c, client);
    const auto translateCookie = xcb_translate_coordinates(c, client, root, 0, 0);
    auto extentsRequest =
        x11prop::request(c, client, x11atoms::get(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);

    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, &error));
    std::free(error);
    error = nullptr;
    XcbPtr<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, translateCookie, &error));
    std::free(error);
    const auto extents = x11prop::takeWords(c, extentsRequest);
    if (!geometry || !origin) return std::nullopt;

    X11WindowPlacement p;
    p.client = client;
    int left = 0, right = 0, top = 0, bottom = 0;
    if (extents && extents->size() >= 4) {
        left = static_cast<int>((*extents)[0]);
        right = static_cast<int>((*extents)[1]);
        top = static_cast<int>((*extents)[2]);
        bottom = static_cast<int>((*extents)[3]);
    }
    p.clientRect = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    p.clientDepth = geometry->depth;
    p.outer = p.clientRect.adjusted(-left, -top, right, bottom);

    const auto frame = rootChildAncestor(c, root, client);
    if (!frame) return std::nullopt;
    p.frame = *frame;
    const auto frameGeometryCookie = xcb_get_geometry(c, p.frame);
    const auto attributesCookie = xcb_get_window_attributes(c, p.frame);
    error = nullptr;
    XcbPtr<xcb_get_geometry_reply_t> frameGeometry(xcb_get_geometry_reply(c, frameGeometryCookie, &error));
    std::free(error);
    error = nullptr;
    XcbPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, attributesCookie, &error));
    std::free(error);
    if (!frameGeometry || !attributes) return std::nullopt;
    p.frameBorder = frameGeometry->border_width;
    p.frameDepth = frameGeometry->depth;
    p.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    // The frame's origin (inside its border) in root pixels; the outer rectangle relative to it.
    const QPoint frameOrigin(frameGeometry->x + p.frameBorder, frameGeometry->y + p.frameBorder);
    const QRect frameRect(0, 0, frameGeometry->width, frameGeometry->height);
    p.outerInFrame = p.outer.translated(-frameOrigin).intersected(frameRect);
    return p;
}

} // namespace x11window
