#pragma once

#include "platform/Capabilities.h"
#include "settings/HotkeyAction.h"

#include <QString>

#include <vector>

// Which capture actions this desktop can run. Menu items, hotkeys and links all end in the same
// flows; each asks here first, so an action the backend cannot serve is disabled (menu) or
// answered with its reason (hotkey, link) instead of doing nothing.
namespace actionavailability {

// The capabilities an action needs beyond the basics every backend has.
std::vector<Capability> needs(HotkeyAction action);

// Empty when the action can run; otherwise one line saying why not.
QString unavailableReason(HotkeyAction action, const Capabilities& present);

} // namespace actionavailability
