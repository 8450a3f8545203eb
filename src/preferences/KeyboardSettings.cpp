#include "preferences/KeyboardSettings.h"

#include <QProcess>
#include <QStandardPaths>

namespace keyboardsettings {

std::optional<Command> find() {
    // The keyboard-shortcuts page of each common desktop's settings program, most common first.
    static const Command known[] = {
        {QStringLiteral("gnome-control-center"), {QStringLiteral("keyboard")}},
        {QStringLiteral("systemsettings"), {QStringLiteral("kcm_keys")}},
        {QStringLiteral("xfce4-keyboard-settings"), {}},
        {QStringLiteral("cinnamon-settings"), {QStringLiteral("keyboard")}},
        {QStringLiteral("mate-keybinding-properties"), {}},
        {QStringLiteral("lxqt-config-globalkeyshortcuts"), {}},
    };
    for (const Command& c : known) {
        const QString path = QStandardPaths::findExecutable(c.program);
        if (!path.isEmpty()) return Command{path, c.arguments};
    }
    return std::nullopt;
}

bool open(const Command& command) {
    return QProcess::startDetached(command.program, command.arguments);
}

} // namespace keyboardsettings
