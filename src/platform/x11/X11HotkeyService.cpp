#include "platform/x11/X11HotkeyService.h"

#include "platform/KeyCodeTable.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <memory>

namespace {

constexpr quint32 numLockKeysym = 0xff7f;
constexpr quint32 scrollLockKeysym = 0xff14;
constexpr int statusNoConnection = -1;
constexpr int statusNoSuchKey = -2;

template <typename T> using Reply = std::unique_ptr<T, decltype(&free)>;

} // namespace

X11HotkeyService::X11HotkeyService() = default;

X11HotkeyService::~X11HotkeyService() {
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

quint16 X11HotkeyService::xModifiers(quint32 modifiers) {
    quint16 x = 0;
    if (modifiers & keymodifiers::command) x |= XCB_MOD_MASK_CONTROL;
    if (modifiers & keymodifiers::shift) x |= XCB_MOD_MASK_SHIFT;
    if (modifiers & keymodifiers::option) x |= XCB_MOD_MASK_1;
    if (modifiers & keymodifiers::control) x |= XCB_MOD_MASK_4;
    return x;
}

quint16 X11HotkeyService::lockMaskFor(quint32 keysym) const {
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
    if (!symbols) return 0;
    std::unique_ptr<xcb_keycode_t, decltype(&free)> codes(xcb_key_symbols_get_keycode(symbols, keysym),
                                                          &free);
    xcb_key_symbols_free(symbols);
    if (!codes) return 0;
    Reply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr), &free);
    if (!mapping) return 0;
    const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int mod = 0; mod < 8; ++mod)
        for (int i = 0; i < perModifier; ++i)
            for (const xcb_keycode_t* c = codes.get(); *c != XCB_NO_SYMBOL; ++c)
                if (keys[mod * perModifier + i] == *c) return static_cast<quint16>(1u << mod);
    return 0;
}

bool X11HotkeyService::ensureConnection() {
    if (m_connection) return true;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return false;
    m_connection = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    if (!it.rem) {
        m_connection = nullptr;
        return false;
    }
    m_root = it.data->root;
    m_numLock = lockMaskFor(numLockKeysym);
    m_scrollLock = lockMaskFor(scrollLockKeysym);
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_filterInstalled = true;
    return true;
}

std::vector<quint16> X11HotkeyService::lockVariants() const {
    std::vector<quint16> locks{0};
    for (quint16 lock : {quint16(XCB_MOD_MASK_LOCK), m_numLock, m_scrollLock}) {
        if (lock == 0) continue;
        const size_t n = locks.size();
        for (size_t i = 0; i < n; ++i)
            locks.push_back(locks[i] | lock);
    }
    return locks;
}

int X11HotkeyService::registerHotkey(const HotkeyRequest& request, Registration id) {
    if (!ensureConnection()) return statusNoConnection;
    // X grabs keys, not actions: the action only names the registration for the program itself.
    const auto keycode = keycodes::toXKeycode(request.keyCode);
    if (!keycode) return statusNoSuchKey;
    const quint16 mods = xModifiers(request.modifiers);
    std::vector<Grab> made;
    int status = 0;
    for (quint16 lock : lockVariants()) {
        const Grab grab{id, static_cast<quint8>(*keycode), static_cast<quint16>(mods | lock)};
        // owner_events off: presses are always reported to the root, even over our own windows.
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            m_connection, 0, m_root, grab.modifiers, grab.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        Reply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie), &free);
        if (error) {
            status = error->error_code; // BadAccess (10) when another client holds it
            break;
        }
        made.push_back(grab);
    }
    if (status != 0) {
        for (const Grab& g : made)
            ungrab(g);
        xcb_flush(m_connection);
        return status;
    }
    m_grabs.insert(m_grabs.end(), made.begin(), made.end());
    return 0;
}

void X11HotkeyService::ungrab(const Grab& grab) {
    xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers);
}

void X11HotkeyService::unregisterHotkey(Registration id) {
    if (!m_connection) return;
    auto matches = [&](const Grab& g) { return g.id == id; };
    for (const Grab& g : m_grabs)
        if (matches(g)) ungrab(g);
    m_grabs.erase(std::remove_if(m_grabs.begin(), m_grabs.end(), matches), m_grabs.end());
    xcb_flush(m_connection);
}

bool X11HotkeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (key->event != m_root) return false;
    const auto it = std::find_if(m_grabs.begin(), m_grabs.end(), [&](const Grab& g) {
        return g.keycode == key->detail && g.modifiers == (key->state & 0xff);
    });
    if (it == m_grabs.end()) return false;
    if (type == XCB_KEY_PRESS && m_handler) {
        // Handled after the X event has been processed, never inside the filter.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [handler = m_handler, id = it->id] { handler(id); },
            Qt::QueuedConnection);
    }
    return true;
}
