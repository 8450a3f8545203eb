// A minimal clipboard manager for the handover test: owns CLIPBOARD_MANAGER; on SAVE_TARGETS it
// copies every target of the CLIPBOARD owner (small contents only, no INCR), then owns CLIPBOARD
// itself and serves the copies. Prints "ready" once it owns CLIPBOARD_MANAGER and "saved N" after
// a handover.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

xcb_connection_t* c;
xcb_window_t win;

xcb_atom_t atom(const char* name) {
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name),
                                    nullptr);
    const xcb_atom_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

xcb_generic_event_t* waitFor(uint8_t type) {
    for (;;) {
        xcb_generic_event_t* e = xcb_wait_for_event(c);
        if (!e) std::exit(0);
        if ((e->response_type & 0x7f) == type) return e;
        std::free(e);
    }
}

// Converts CLIPBOARD to `target` into our property and returns the bytes and their type.
bool fetch(xcb_atom_t target, std::vector<uint8_t>& data, xcb_atom_t& type, uint8_t& format) {
    const xcb_atom_t prop = atom("PICTRO_TEST_MANAGER");
    xcb_convert_selection(c, win, atom("CLIPBOARD"), target, prop, XCB_CURRENT_TIME);
    xcb_flush(c);
    auto* n = reinterpret_cast<xcb_selection_notify_event_t*>(waitFor(XCB_SELECTION_NOTIFY));
    const bool ok = n->property != XCB_ATOM_NONE;
    std::free(n);
    if (!ok) return false;
    auto* r = xcb_get_property_reply(
        c, xcb_get_property(c, 1, win, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24), nullptr);
    if (!r || r->type == atom("INCR")) {
        std::free(r);
        return false;
    }
    const auto* v = static_cast<const uint8_t*>(xcb_get_property_value(r));
    data.assign(v, v + xcb_get_property_value_length(r));
    type = r->type;
    format = r->format;
    std::free(r);
    return true;
}

struct Saved {
    std::vector<uint8_t> data;
    xcb_atom_t type;
    uint8_t format;
};

} // namespace

int main() {
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    win = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, win, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, 0,
                      XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER"), clipboard = atom("CLIPBOARD"),
                     saveTargets = atom("SAVE_TARGETS"), targets = atom("TARGETS");
    xcb_set_selection_owner(c, win, manager, XCB_CURRENT_TIME);
    xcb_flush(c);
    std::printf("ready\n");
    std::fflush(stdout);

    std::map<xcb_atom_t, Saved> saved;
    for (;;) {
        auto* e = xcb_wait_for_event(c);
        if (!e) return 0;
        if ((e->response_type & 0x7f) != XCB_SELECTION_REQUEST) {
            std::free(e);
            continue;
        }
        auto* req = reinterpret_cast<xcb_selection_request_event_t*>(e);
        xcb_selection_notify_event_t reply{};
        reply.response_type = XCB_SELECTION_NOTIFY;
        reply.time = req->time;
        reply.requestor = req->requestor;
        reply.selection = req->selection;
        reply.target = req->target;
        reply.property = XCB_ATOM_NONE;
        if (req->selection == manager && req->target == saveTargets) {
            std::vector<uint8_t> list;
            xcb_atom_t type;
            uint8_t format;
            saved.clear();
            if (fetch(targets, list, type, format)) {
                const auto* atoms = reinterpret_cast<const xcb_atom_t*>(list.data());
                for (size_t i = 0; i < list.size() / 4; ++i) {
                    const xcb_atom_t t = atoms[i];
                    if (t == targets || t == saveTargets || t == atom("MULTIPLE") || t == atom("TIMESTAMP"))
                        continue;
                    Saved s;
                    if (fetch(t, s.data, s.type, s.format)) saved[t] = s;
                }
            }
            xcb_set_selection_owner(c, win, clipboard, XCB_CURRENT_TIME);
            reply.property = req->property != XCB_ATOM_NONE ? req->property : saveTargets;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, req->requestor, reply.property, XCB_ATOM_ATOM, 32,
                                0, nullptr);
            std::printf("saved %zu\n", saved.size());
            std::fflush(stdout);
        } else if (req->selection == clipboard && req->target == targets) {
            std::vector<xcb_atom_t> list{targets};
            for (const auto& [t, s] : saved)
                list.push_back(t);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, req->requestor, req->property, XCB_ATOM_ATOM, 32,
                                static_cast<uint32_t>(list.size()), list.data());
            reply.property = req->property;
        } else if (req->selection == clipboard && saved.count(req->target)) {
            const Saved& s = saved[req->target];
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, req->requestor, req->property, s.type, s.format,
                                static_cast<uint32_t>(s.data.size() / (s.format / 8)), s.data.data());
            reply.property = req->property;
        }
        xcb_send_event(c, 0, req->requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&reply));
        xcb_flush(c);
        std::free(e);
    }
}
