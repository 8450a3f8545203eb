#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The running desktop and its own keyboard-shortcut settings, where the keys its screenshot tool
// holds (Print and its variants) can be freed for Pictro.
namespace keyboardsettings {

struct Command {
    QString program;
    QStringList arguments;
};

enum class DesktopKind { gnome, kde, xfce, cinnamon, mate, other, none };

struct Desktop {
    DesktopKind kind = DesktopKind::none;
    // As the desktop calls itself ("GNOME", "KDE Plasma"); for an unknown one the session's own
    // name; empty when no desktop is running (a bare window manager).
    QString name;
    // Which keys the desktop's screenshot tool holds and where its settings free them.
    QString screenshotKeys;
    // The desktop's keyboard-shortcut settings program; none for other desktops.
    std::optional<Command> settings;
};

// The desktop named by XDG_CURRENT_DESKTOP (a colon-separated list, most specific first, such as
// "ubuntu:GNOME"); the first name that is known decides.
Desktop describe(const QString& xdgCurrentDesktop);
// The desktop this program runs on.
Desktop current();

using FindExecutable = std::function<QString(const QString& program)>;

// The settings program to start: the desktop's own when it is installed; on a desktop without
// one of its own, the first known program that is installed. None when nothing fits.
std::optional<Command> find(const Desktop& desktop, const FindExecutable& findExecutable);
std::optional<Command> find(const Desktop& desktop);

// Why the button cannot open anything, for a desktop where find() gave none.
QString unavailableReason(const Desktop& desktop);

// Starts it detached; false when it cannot be started.
bool open(const Command& command);

} // namespace keyboardsettings
