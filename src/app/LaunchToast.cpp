#include "app/LaunchToast.h"

#include "settings/HotkeyAction.h"

namespace launchtoast {

QString text(bool keysBound) {
    if (!keysBound)
        return QStringLiteral("Pictro is running — bind “pictro --action area” to a key in your compositor's "
                              "configuration");
    const auto screen = hotkeyaction::defaultCombo(HotkeyAction::fullscreen);
    const auto area = hotkeyaction::defaultCombo(HotkeyAction::area);
    return QStringLiteral("Pictro is running — %1 screen · %2 area")
        .arg(screen ? screen->label() : QString(), area ? area->label() : QString());
}

} // namespace launchtoast
