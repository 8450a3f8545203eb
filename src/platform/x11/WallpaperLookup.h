#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Where the desktop keeps its wallpaper, for the desktops whose setting is cheap and safe to
// read: GNOME-like desktops, Cinnamon and MATE through `gsettings`, XFCE from its desktop
// channel's file, and the plain setters of window-manager sessions (`~/.fehbg`, nitrogen).
namespace wallpaper {

struct Environment {
    QString currentDesktop; // $XDG_CURRENT_DESKTOP, a colon-separated list
    QString homeDir;
    QString configDir; // $XDG_CONFIG_HOME or ~/.config
    // Runs a program with a short time limit; its standard output, none on failure or time-out.
    std::function<std::optional<QString>(const QString& program, const QStringList& args)> run;
    // Reads a small file; none when it cannot be read.
    std::function<std::optional<QByteArray>(const QString& path)> readFile;
    std::function<bool(const QString& path)> fileExists;
};

// The environment of this process, running programs for at most `timeoutMs`.
Environment systemEnvironment(int timeoutMs = 1000);

// The wallpaper file of the monitor named `monitorName` (XFCE keeps one per monitor), or none.
std::optional<QString> lookup(const Environment& env, const QString& monitorName);

// "'file:///a/b.png'" as gsettings prints a URI (or a plain quoted path) → "/a/b.png".
std::optional<QString> parseGsettingsValue(const QString& output);
// The first image a `feh --bg-*` line of a ~/.fehbg script sets.
std::optional<QString> parseFehbg(const QByteArray& script);
// The "file=" entry of nitrogen's bg-saved.cfg.
std::optional<QString> parseNitrogen(const QByteArray& config);
// The last-image of the XFCE desktop channel, preferring the given monitor's first workspace.
std::optional<QString> parseXfceDesktop(const QByteArray& xml, const QString& monitorName);

} // namespace wallpaper
