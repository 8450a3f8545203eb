#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The desktop's own keyboard-shortcut settings, where its screenshot keys can be turned off.
namespace keyboardsettings {

struct Command {
    QString program;
    QStringList arguments;
};

// The first known settings program found on the PATH; none when this desktop has none.
std::optional<Command> find();
// Starts it detached; false when it cannot be started.
bool open(const Command& command);

} // namespace keyboardsettings
