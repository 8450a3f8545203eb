#pragma once

#include "settings/KeyCombo.h"

#include <QKeySequence>

#include <optional>

// The shortcut label a menu item shows for a binding: only keys whose name is one character get
// one (names such as "Space" or "F5" show nothing), with the modifiers as Qt shortcuts so the
// label reads Ctrl/Shift/Alt/Meta on this desktop.
QKeySequence menuShortcut(const std::optional<KeyCombo>& combo);
