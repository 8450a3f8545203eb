#include "platform/Capabilities.h"

Capabilities Capabilities::all() {
    Capabilities c;
    for (int i = 0; i < capabilityCount; ++i)
        c.set(static_cast<Capability>(i), true);
    return c;
}

namespace capability {

QString name(Capability c) {
    switch (c) {
    case Capability::windowList:
        return QStringLiteral("windowList");
    case Capability::windowCapture:
        return QStringLiteral("windowCapture");
    case Capability::activeWindow:
        return QStringLiteral("activeWindow");
    case Capability::pointerLocation:
        return QStringLiteral("pointerLocation");
    case Capability::syntheticScroll:
        return QStringLiteral("syntheticScroll");
    case Capability::globalHotkeysByKey:
        return QStringLiteral("globalHotkeysByKey");
    case Capability::floatingAboveAll:
        return QStringLiteral("floatingAboveAll");
    }
    return {};
}

QString unavailableReason(Capability c) {
    switch (c) {
    case Capability::windowList:
        return QStringLiteral("This desktop does not let applications see other windows");
    case Capability::windowCapture:
        return QStringLiteral("This desktop does not let applications capture a single window");
    case Capability::activeWindow:
        return QStringLiteral("This desktop does not tell applications which window is active");
    case Capability::pointerLocation:
        return QStringLiteral("This desktop does not tell applications where the pointer is");
    case Capability::syntheticScroll:
        return QStringLiteral("This desktop does not let applications scroll other windows");
    case Capability::globalHotkeysByKey:
        return QStringLiteral("This desktop assigns global shortcuts itself, in its keyboard settings");
    case Capability::floatingAboveAll:
        return QStringLiteral("This desktop does not let applications place windows above all others");
    }
    return {};
}

} // namespace capability
