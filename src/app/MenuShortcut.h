#pragma once

#include "settings/KeyCombo.h"

#include <QString>

#include <optional>

// The shortcut a menu item shows for a binding, as a person reads it ("Ctrl+Shift+1"). Only keys
// whose short name is one character get one (names such as "Space" or "F5" show nothing). The
// menu shows it as a label only: the global hotkeys are what make the shortcut work.
QString menuShortcut(const std::optional<KeyCombo>& combo);

// A menu item's text with its shortcut label in the menu's shortcut column ("title\tCtrl+,").
QString menuItemText(const QString& title, const QString& shortcut);
// The title of a menu item's text, without its shortcut column.
QString menuItemTitle(const QString& text);
// The shortcut column of a menu item's text; empty when it has none.
QString menuItemShortcut(const QString& text);
