#pragma once

#include "settings/KeyCombo.h"

#include <array>
#include <optional>

// The bindable actions, in registration and preferences order.
enum class HotkeyAction { fullscreen, area, repeatArea, anyWindow, activeWindow, scrolling, showApp, ocr };

namespace hotkeyaction {

const std::array<HotkeyAction, 8>& allCases();
QString rawValue(HotkeyAction action);
std::optional<HotkeyAction> fromRaw(const QString& raw);
// "hotkey_" + raw value.
QString settingsKey(HotkeyAction action);
QString label(HotkeyAction action);
// The built-in binding that applies while nothing is stored for the action.
std::optional<KeyCombo> defaultCombo(HotkeyAction action);

} // namespace hotkeyaction
