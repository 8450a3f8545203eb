#include "preferences/KeyboardSettings.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace keyboardsettings {
namespace {

struct Known {
    DesktopKind kind;
    QStringList sessionNames; // as they appear in XDG_CURRENT_DESKTOP, compared without case
    const char* name;
    Command settings;
    const char* screenshotKeys;
};

const std::vector<Known>& knownDesktops() {
    static const std::vector<Known> known = {
        {DesktopKind::gnome,
         {QStringLiteral("GNOME"), QStringLiteral("Unity"), QStringLiteral("Budgie")},
         "GNOME",
         {QStringLiteral("gnome-control-center"), {QStringLiteral("keyboard")}},
         "GNOME's screenshot tool holds Print, Shift+Print and Alt+Print. Free them under Settings → "
         "Keyboard → View and Customize Shortcuts → Screenshots."},
        {DesktopKind::kde,
         {QStringLiteral("KDE")},
         "KDE Plasma",
         {QStringLiteral("systemsettings"), {QStringLiteral("kcm_keys")}},
         "Spectacle, the Plasma screenshot tool, holds Print, Shift+Print, Super+Print and "
         "Super+Shift+Print. "
         "Free them under System Settings → Keyboard → Shortcuts → Spectacle."},
        {DesktopKind::xfce,
         {QStringLiteral("XFCE")},
         "Xfce",
         {QStringLiteral("xfce4-keyboard-settings"), {}},
         "The Xfce screenshooter holds Print, Alt+Print and Shift+Print. Free them under Settings → "
         "Keyboard → Application Shortcuts (the xfce4-screenshooter commands)."},
        {DesktopKind::cinnamon,
         {QStringLiteral("X-Cinnamon"), QStringLiteral("Cinnamon")},
         "Cinnamon",
         {QStringLiteral("cinnamon-settings"), {QStringLiteral("keyboard")}},
         "Cinnamon's screenshot shortcuts hold Print, Shift+Print and Alt+Print. Free them under System "
         "Settings → Keyboard → Shortcuts → System → Screenshots and Recording."},
        {DesktopKind::mate,
         {QStringLiteral("MATE")},
         "MATE",
         {QStringLiteral("mate-keybinding-properties"), {}},
         "MATE's screenshot tool holds Print, Alt+Print and Shift+Print. Free them under Control Center → "
         "Keyboard Shortcuts → Desktop (the “Take a screenshot” entries)."},
    };
    return known;
}

const Known* knownFor(const QString& sessionName) {
    for (const Known& k : knownDesktops())
        for (const QString& n : k.sessionNames)
            if (n.compare(sessionName, Qt::CaseInsensitive) == 0) return &k;
    return nullptr;
}

} // namespace

Desktop describe(const QString& xdgCurrentDesktop) {
    const QStringList names = xdgCurrentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& n : names)
        if (const Known* k = knownFor(n.trimmed()))
            return Desktop{k->kind, QString::fromUtf8(k->name), QString::fromUtf8(k->screenshotKeys),
                           k->settings};
    if (names.isEmpty())
        return Desktop{
            DesktopKind::none, QString(),
            QStringLiteral("No desktop environment runs here, only a window manager, so no screenshot "
                           "tool of a desktop holds Print: the shortcuts below work as recorded."),
            std::nullopt};
    return Desktop{
        DesktopKind::other, names.join(QLatin1Char(':')),
        QStringLiteral("If a shortcut below does not work, another program holds it; its own settings "
                       "free it. Pictro writes the combination it could not register to its log."),
        std::nullopt};
}

Desktop current() {
    return describe(QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CURRENT_DESKTOP")));
}

std::optional<Command> find(const Desktop& desktop, const FindExecutable& findExecutable) {
    auto installed = [&](const Command& c) -> std::optional<Command> {
        const QString path = findExecutable(c.program);
        if (path.isEmpty()) return std::nullopt;
        return Command{path, c.arguments};
    };
    // Another desktop's settings would edit keys this session does not use.
    if (desktop.settings) return installed(*desktop.settings);
    for (const Known& k : knownDesktops())
        if (auto c = installed(k.settings)) return c;
    return std::nullopt;
}

std::optional<Command> find(const Desktop& desktop) {
    return find(desktop, [](const QString& program) { return QStandardPaths::findExecutable(program); });
}

QString unavailableReason(const Desktop& desktop) {
    if (desktop.settings)
        return QStringLiteral("%1 is not installed, so %2's keyboard settings cannot be opened from here.")
            .arg(desktop.settings->program, desktop.name);
    return QStringLiteral("No keyboard settings program of a desktop is installed.");
}

bool open(const Command& command) {
    return QProcess::startDetached(command.program, command.arguments);
}

} // namespace keyboardsettings
