#include "platform/wayland/PortalTrigger.h"

#include "platform/KeyCodeTable.h"

#include <QStringList>

#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace {

struct KeymapDeleter {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct ContextDeleter {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};

// The layout the environment names (XKB_DEFAULT_LAYOUT and friends), else xkbcommon's default:
// the keysym a key gives there is what a desktop reads back as that key.
xkb_keymap* defaultKeymap() {
    static const std::unique_ptr<xkb_keymap, KeymapDeleter> keymap = [] {
        const std::unique_ptr<xkb_context, ContextDeleter> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
        return std::unique_ptr<xkb_keymap, KeymapDeleter>(
            context ? xkb_keymap_new_from_names(context.get(), nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS)
                    : nullptr);
    }();
    return keymap.get();
}

QString keysymName(quint32 xKeycode) {
    xkb_keymap* keymap = defaultKeymap();
    if (!keymap) return {};
    const xkb_keysym_t* symbols = nullptr;
    // The unshifted symbol: Shift is a modifier of the trigger, not part of the key's name.
    if (xkb_keymap_key_get_syms_by_level(keymap, xKeycode, 0, 0, &symbols) < 1) return {};
    char name[64];
    if (xkb_keysym_get_name(symbols[0], name, sizeof name) <= 0) return {};
    return QString::fromLatin1(name);
}

} // namespace

namespace portaltrigger {

QString fromCombo(quint32 keyCode, quint32 modifiers) {
    const auto xKeycode = keycodes::toXKeycode(keyCode);
    if (!xKeycode) return {};
    const QString key = keysymName(*xKeycode);
    if (key.isEmpty()) return {};
    QStringList parts;
    if (modifiers & keymodifiers::command) parts << QStringLiteral("CTRL");
    if (modifiers & keymodifiers::option) parts << QStringLiteral("ALT");
    if (modifiers & keymodifiers::shift) parts << QStringLiteral("SHIFT");
    if (modifiers & keymodifiers::control) parts << QStringLiteral("LOGO");
    parts << key;
    return parts.join(QLatin1Char('+'));
}

} // namespace portaltrigger
