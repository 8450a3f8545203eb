#include "platform/x11/X11WindowServer.h"

#include "platform/PixelSpace.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Properties.h"
#include "platform/x11/X11WindowGeometry.h"

#include <xcb/res.h>

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace {

struct Connection {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
};

Connection open() {
    X11Connection& x = X11Connection::shared();
    xcb_screen_t* screen = x.rootScreen();
    return {x.connection(), screen ? screen->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE)};
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    return x11atoms::get(c, name);
}

// Clients from the window manager, bottom to top; _NET_CLIENT_LIST (mapping order) when the
// stacking list is missing.
std::vector<xcb_window_t> clientsBottomToTop(const Connection& x) {
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST"}) {
        if (auto list = x11prop::words(x.c, x.root, atom(x.c, name), XCB_ATOM_WINDOW)) return *list;
    }
    return {};
}

// The pid a client announces, else the one the X server knows for the client's connection (local
// clients only).
std::optional<qint64> resourcePid(xcb_connection_t* c, xcb_window_t window) {
    xcb_res_client_id_spec_t query{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_res_query_client_ids_reply_t> reply(
        xcb_res_query_client_ids_reply(c, xcb_res_query_client_ids(c, 1, &query), &error));
    std::free(error);
    if (!reply) return std::nullopt;
    // Only the pid was asked for, so every value the server answers with is a pid.
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem;
         xcb_res_client_id_value_next(&it)) {
        if (xcb_res_client_id_value_value_length(it.data) >= 1)
            return static_cast<qint64>(*xcb_res_client_id_value_value(it.data));
    }
    return std::nullopt;
}

std::optional<qint64> pidOf(xcb_connection_t* c, xcb_window_t window, x11prop::Pending& pidRequest) {
    if (auto words = x11prop::takeWords(c, pidRequest); words && !words->empty())
        return static_cast<qint64>((*words)[0]);
    return resourcePid(c, window);
}

std::optional<QString> text(const std::optional<QByteArray>& bytes, bool utf8) {
    if (!bytes) return std::nullopt;
    QByteArray b = *bytes;
    while (b.endsWith('\0'))
        b.chop(1);
    return utf8 ? QString::fromUtf8(b) : QString::fromLatin1(b);
}

// WM_CLASS holds "instance\0class\0"; the class names the application.
std::optional<QString> ownerFromClass(const std::optional<QByteArray>& bytes) {
    if (!bytes) return std::nullopt;
    const QList<QByteArray> parts = bytes->split('\0');
    if (parts.size() >= 2 && !parts[1].isEmpty()) return QString::fromLocal8Bit(parts[1]);
    if (!parts.isEmpty() && !parts[0].isEmpty()) return QString::fromLocal8Bit(parts[0]);
    return std::nullopt;
}

bool contains(const std::optional<std::vector<uint32_t>>& atoms, xcb_atom_t a) {
    return atoms && a != XCB_ATOM_NONE && std::find(atoms->begin(), atoms->end(), a) != atoms->end();
}

// The layer of a window from its type and state: only normal windows and dialogs that nobody
// asked to keep above are on the normal layer. A missing type means normal (many plain X clients
// set none).
qint64 layerOf(xcb_connection_t* c, const std::optional<std::vector<uint32_t>>& types,
               const std::optional<std::vector<uint32_t>>& states) {
    const std::pair<const char*, qint64> typeLayers[] = {
        {"_NET_WM_WINDOW_TYPE_NORMAL", windowlayer::normal},
        {"_NET_WM_WINDOW_TYPE_DIALOG", windowlayer::normal},
        {"_NET_WM_WINDOW_TYPE_DESKTOP", windowlayer::desktop},
        {"_NET_WM_WINDOW_TYPE_DOCK", windowlayer::dock},
        {"_NET_WM_WINDOW_TYPE_TOOLBAR", windowlayer::floating},
        {"_NET_WM_WINDOW_TYPE_UTILITY", windowlayer::floating},
        {"_NET_WM_WINDOW_TYPE_MENU", windowlayer::menu},
        {"_NET_WM_WINDOW_TYPE_DROPDOWN_MENU", windowlayer::menu},
        {"_NET_WM_WINDOW_TYPE_POPUP_MENU", windowlayer::menu},
        {"_NET_WM_WINDOW_TYPE_TOOLTIP", windowlayer::menu},
        {"_NET_WM_WINDOW_TYPE_COMBO", windowlayer::menu},
        {"_NET_WM_WINDOW_TYPE_DND", windowlayer::menu},
        {"_NET_WM_WINDOW_TYPE_NOTIFICATION", windowlayer::notification},
        {"_NET_WM_WINDOW_TYPE_SPLASH", windowlayer::splash},
    };
    qint64 layer = windowlayer::normal;
    if (types) {
        // The first type the list names that is known wins, as the hints prescribe.
        bool found = false;
        for (uint32_t t : *types) {
            for (const auto& [name, value] : typeLayers) {
                if (t == atom(c, name)) {
                    layer = value;
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
    }
    if (layer == windowlayer::normal && contains(states, atom(c, "_NET_WM_STATE_ABOVE")))
        layer = windowlayer::floating;
    return layer;
}

struct Requests {
    x11prop::Pending type, state, pid, netName, name, wmClass, opacity;
};

Requests sendRequests(xcb_connection_t* c, xcb_window_t w) {
    Requests r;
    r.type = x11prop::request(c, w, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM);
    r.state = x11prop::request(c, w, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM);
    r.pid = x11prop::request(c, w, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL);
    r.netName = x11prop::request(c, w, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"));
    r.name = x11prop::request(c, w, XCB_ATOM_WM_NAME);
    r.wmClass = x11prop::request(c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    r.opacity = x11prop::request(c, w, atom(c, "_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL);
    return r;
}

} // namespace

X11WindowServer::X11WindowServer(const Screens& screens) : m_screens(screens) {}

std::vector<RawWindowEntry> X11WindowServer::onScreenWindowList() const {
    const Connection x = open();
    if (!x.c) return {};
    std::vector<xcb_window_t> clients = clientsBottomToTop(x);
    std::reverse(clients.begin(), clients.end());
    const auto screens = m_screens.screens();

    std::vector<RawWindowEntry> entries;
    for (xcb_window_t w : clients) {
        Requests r = sendRequests(x.c, w);
        const auto placement = x11window::placement(x.c, x.root, w);
        const auto types = x11prop::takeWords(x.c, r.type);
        const auto states = x11prop::takeWords(x.c, r.state);
        RawWindowEntry e;
        e.ownerPid = pidOf(x.c, w, r.pid);
        const auto netName = text(x11prop::takeBytes(x.c, r.netName), true);
        const auto name = text(x11prop::takeBytes(x.c, r.name), false);
        e.ownerName = ownerFromClass(x11prop::takeBytes(x.c, r.wmClass));
        const auto opacity = x11prop::takeWords(x.c, r.opacity);
        // Off screen: gone, unmapped (another desktop) or minimized.
        if (!placement || !placement->viewable || contains(states, atom(x.c, "_NET_WM_STATE_HIDDEN")))
            continue;
        e.layer = layerOf(x.c, types, states);
        e.bounds = pixelspace::pixelsToTopLeftPoints(placement->outer, screens);
        e.number = static_cast<qint64>(w);
        if (opacity && !opacity->empty())
            e.alpha = static_cast<double>((*opacity)[0]) / std::numeric_limits<uint32_t>::max();
        e.name = netName ? netName : name;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::optional<qint32> X11WindowServer::frontmostApplicationPid() const {
    const Connection x = open();
    if (!x.c) return std::nullopt;
    const auto active = x11prop::words(x.c, x.root, atom(x.c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (!active || active->empty() || (*active)[0] == XCB_WINDOW_NONE) return std::nullopt;
    auto pidRequest = x11prop::request(x.c, (*active)[0], atom(x.c, "_NET_WM_PID"), XCB_ATOM_CARDINAL);
    const auto pid = pidOf(x.c, (*active)[0], pidRequest);
    if (!pid || *pid <= 0 || *pid > std::numeric_limits<qint32>::max()) return std::nullopt;
    return static_cast<qint32>(*pid);
}

qint32 X11WindowServer::ownPid() const {
    return static_cast<qint32>(QCoreApplication::applicationPid());
}

std::optional<QRectF> X11WindowServer::windowFrame(quint32 windowID) const {
    const Connection x = open();
    if (!x.c) return std::nullopt;
    const auto placement = x11window::placement(x.c, x.root, windowID);
    if (!placement) return std::nullopt;
    return pixelspace::pixelsToTopLeftPoints(placement->outer, m_screens.screens());
}

bool X11WindowServer::compositingManagerRunning() const {
    const Connection x = open();
    if (!x.c) return false;
    // A compositing manager owns the selection _NET_WM_CM_S<n> of the screen it composites; the
    // program only ever works on the default screen 0.
    const xcb_atom_t selection = atom(x.c, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE) return false;
    XcbPtr<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(x.c, xcb_get_selection_owner(x.c, selection), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}
