#pragma once

#include "platform/KeyCodeTable.h"

#include <QString>

#include <optional>

class QKeyEvent;

// One hardware key plus modifier keys. Key codes are the program's own key numbering (18 is the
// "1" key of the main row); KeyCodeTable maps them to the X keycodes of the same physical keys.
struct KeyCombo {
    static constexpr quint32 command = keymodifiers::command; // Ctrl on a PC keyboard
    static constexpr quint32 shift = keymodifiers::shift;
    static constexpr quint32 option = keymodifiers::option;   // Alt
    static constexpr quint32 control = keymodifiers::control; // Super

    quint32 keyCode = 0;
    quint32 modifiers = 0;

    bool operator==(const KeyCombo&) const = default;

    // "18:768" → key 18 with command and shift; malformed text gives none.
    static std::optional<KeyCombo> fromEncoded(const QString& text);
    // Decimal key code, ":", decimal modifiers.
    QString encoded() const;
    // The compact glyph form, "⇧⌘1" (order ⌃⌥⇧⌘). Internal only: people are never shown it.
    QString display() const;
    // The key's short name in the glyph form ("1", "←", "Space", "key105"); its length decides
    // whether a menu item shows the binding.
    static QString keyName(quint32 keyCode);

    // What a person reads wherever a combination is shown: "Ctrl+Shift+1", "Ctrl+Alt+Super+O",
    // modifiers in the order Ctrl, Alt, Shift, Super, then the key as its keycap names it.
    QString label() const;
    // The keycap name: "A", "1", "Space", "Return", "Esc", "Left", "F5", "Print", "KP 7".
    static QString keyLabel(quint32 keyCode);

    // A combo from a key press: the physical key (X keycode in nativeScanCode, or Qt's key where
    // the platform gives no scan code) and Ctrl/Shift/Alt/Super; Caps Lock and the rest are dropped.
    static std::optional<KeyCombo> fromKeyEvent(const QKeyEvent& event);
};
