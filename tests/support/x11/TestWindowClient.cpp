// A plain X client for the X11 tests: one window of a known colour, with the hints a test asks
// for. Prints the window id once the window is mapped and painted, then serves exposes until its
// standard input closes.
//   --size WxH  --pos X,Y  --color RRGGBB  --title T  --class C  --type dock|desktop|menu|…
//   --above  --opacity 0.05  --no-pid  --argb ALPHA (a 32-bit window, colour at that alpha)
#include <xcb/xcb.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name),
                                    nullptr);
    const xcb_atom_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

void setText(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type, const std::string& s) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, prop, type, 8, static_cast<uint32_t>(s.size()),
                        s.data());
}

void setWords(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type,
              std::vector<uint32_t> v) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, prop, type, 32, static_cast<uint32_t>(v.size()),
                        v.data());
}

xcb_visualtype_t* argbVisual(xcb_screen_t* screen) {
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        if (d.data->depth != 32) continue;
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
            if (v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return v.data;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    int w = 300, h = 200, x = 100, y = 100, argbAlpha = -1;
    uint32_t colour = 0xff0000;
    std::string title = "test window", wmClass = "testwin", type;
    bool above = false, noPid = false;
    double opacity = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : "";
        if (a == "--size") {
            std::sscanf(v, "%dx%d", &w, &h);
            ++i;
        } else if (a == "--pos") {
            std::sscanf(v, "%d,%d", &x, &y);
            ++i;
        } else if (a == "--color") {
            colour = static_cast<uint32_t>(std::strtoul(v, nullptr, 16));
            ++i;
        } else if (a == "--title") {
            title = v;
            ++i;
        } else if (a == "--class") {
            wmClass = v;
            ++i;
        } else if (a == "--type") {
            type = v;
            ++i;
        } else if (a == "--opacity") {
            opacity = std::atof(v);
            ++i;
        } else if (a == "--argb") {
            argbAlpha = std::atoi(v);
            ++i;
        } else if (a == "--above")
            above = true;
        else if (a == "--no-pid")
            noPid = true;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    uint8_t depth = screen->root_depth;
    xcb_visualid_t visual = screen->root_visual;
    xcb_colormap_t colormap = screen->default_colormap;
    uint32_t pixel = colour;
    if (argbAlpha >= 0) {
        xcb_visualtype_t* vt = argbVisual(screen);
        if (!vt) return 2;
        depth = 32;
        visual = vt->visual_id;
        colormap = xcb_generate_id(c);
        xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
        // Premultiplied, as X stores 32-bit pixels.
        const uint32_t r = ((colour >> 16) & 255) * argbAlpha / 255,
                       g = ((colour >> 8) & 255) * argbAlpha / 255, b = (colour & 255) * argbAlpha / 255;
        pixel = (static_cast<uint32_t>(argbAlpha) << 24) | (r << 16) | (g << 8) | b;
    }
    const xcb_window_t win = xcb_generate_id(c);
    const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP;
    const uint32_t values[] = {pixel, 0, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY, colormap};
    xcb_create_window(c, depth, win, screen->root, static_cast<int16_t>(x), static_cast<int16_t>(y),
                      static_cast<uint16_t>(w), static_cast<uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      visual, mask, values);
    setText(c, win, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), title);
    setText(c, win, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
    const std::string cls = wmClass + '\0' + wmClass + "Class" + '\0';
    setText(c, win, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, cls);
    if (!noPid)
        setWords(c, win, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, {static_cast<uint32_t>(getpid())});
    if (!type.empty()) {
        std::string name = "_NET_WM_WINDOW_TYPE_";
        for (char ch : type)
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        setWords(c, win, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, {atom(c, name.c_str())});
    }
    if (above) setWords(c, win, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, {atom(c, "_NET_WM_STATE_ABOVE")});
    if (opacity >= 0)
        setWords(c, win, atom(c, "_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL,
                 {static_cast<uint32_t>(opacity * 4294967295.0)});
    // Ask the window manager to keep the requested position.
    const uint32_t hints[18] = {1u | 4u /* USPosition | PPosition */, 0, 0, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                        18, hints);
    xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, win, XCB_GC_FOREGROUND, &pixel);
    xcb_map_window(c, win);
    xcb_flush(c);

    bool announced = false;
    pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            // Announced once mapped, not only on the first Expose: a window mapped under others gets
            // no Expose until uncovered, and a loaded window manager may take long to uncover it.
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_EXPOSE || type == XCB_MAP_NOTIFY) {
                const xcb_rectangle_t all{0, 0, static_cast<uint16_t>(w), static_cast<uint16_t>(h)};
                xcb_poly_fill_rectangle(c, win, gc, 1, &all);
                // A round trip: the fill is done before anyone hears the window is there.
                std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
                if (!announced) {
                    std::printf("%u\n", win);
                    std::fflush(stdout);
                    announced = true;
                }
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c)) return 0;
        if (poll(fds, 2, 1000) < 0) return 0;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buf[64];
            if (read(STDIN_FILENO, buf, sizeof buf) <= 0) return 0;
        }
    }
}
