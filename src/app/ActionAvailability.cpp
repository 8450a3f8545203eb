#include "app/ActionAvailability.h"

namespace actionavailability {

std::vector<Capability> needs(HotkeyAction action) {
    switch (action) {
    case HotkeyAction::anyWindow:
        return {Capability::windowList, Capability::windowCapture};
    case HotkeyAction::activeWindow:
        return {Capability::activeWindow, Capability::windowList, Capability::windowCapture};
    case HotkeyAction::scrolling:
        return {Capability::syntheticScroll};
    // The screen under the pointer falls back to the main screen, and the selection overlay is a
    // full-screen window every desktop can show.
    case HotkeyAction::fullscreen:
    case HotkeyAction::area:
    case HotkeyAction::repeatArea:
    case HotkeyAction::showApp:
    case HotkeyAction::ocr:
        return {};
    }
    return {};
}

QString unavailableReason(HotkeyAction action, const Capabilities& present) {
    for (Capability c : needs(action))
        if (!present.has(c)) return capability::unavailableReason(c);
    return {};
}

} // namespace actionavailability
