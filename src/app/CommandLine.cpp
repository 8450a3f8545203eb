#include "app/CommandLine.h"

#include <array>

namespace commandline {
namespace {

struct ActionEntry {
    Action action;
    const char* name;
    const char* summary;
};

constexpr std::array<ActionEntry, 12> actionTable{{
    {Action::fullscreen, "fullscreen", "capture the screen under the pointer"},
    {Action::area, "area", "drag an area to capture"},
    {Action::repeatArea, "repeat-area", "capture the last area again"},
    {Action::activeWindow, "active-window", "capture the active window"},
    {Action::window, "window", "pick a window to capture"},
    {Action::delayed, "delayed", "capture the screen under the pointer after 3 seconds"},
    {Action::scrolling, "scrolling", "capture a long page by scrolling it"},
    {Action::ocr, "ocr", "copy the text and QR codes of a dragged area"},
    {Action::openFile, "open-file", "open an image file in the editor"},
    {Action::clipboard, "clipboard", "open the clipboard's image in the editor"},
    {Action::settings, "settings", "open the preferences"},
    {Action::show, "show", "open the last capture, or the preferences when there is none"},
}};

struct OptionEntry {
    const char* names;
    const char* summary;
};

// The words the usage error lists; --help explains each.
constexpr char optionList[] =
    "--action NAME, --check-permissions, --selftest [FOLDER], --uitest [FOLDER], --help, --version";

constexpr std::array<OptionEntry, 6> optionTable{{
    {"--action NAME", "start an action in the Pictro that runs, or in a new one"},
    {"--check-permissions", "print whether screen capture and input are allowed, then exit"},
    {"--selftest [FOLDER]", "run the built-in checks (no display needed); images go to FOLDER"},
    {"--uitest [FOLDER]", "start with the interactive self-check"},
    {"-h, --help", "show this help and exit"},
    {"--version", "show the version and exit"},
}};

QString column(const char* left, const char* right) {
    return QStringLiteral("  %1 %2\n").arg(QString::fromUtf8(left), -28).arg(QString::fromUtf8(right));
}

bool isLink(const QString& argument) {
    return !argument.startsWith(QLatin1Char('-'));
}

Invocation usageError(const QString& line) {
    Invocation invocation;
    invocation.mode = Mode::usageError;
    invocation.error = line;
    return invocation;
}

Invocation unknownAction(const QString& name) {
    return usageError(
        QStringLiteral("Pictro: unknown action \"%1\"; the actions are: %2").arg(name, actionNames()));
}

} // namespace

QString actionName(Action action) {
    for (const ActionEntry& entry : actionTable)
        if (entry.action == action) return QString::fromLatin1(entry.name);
    return {};
}

std::optional<Action> actionNamed(const QString& name) {
    for (const ActionEntry& entry : actionTable)
        if (name == QLatin1String(entry.name)) return entry.action;
    return std::nullopt;
}

QString actionNames() {
    QStringList names;
    for (const ActionEntry& entry : actionTable)
        names << QString::fromLatin1(entry.name);
    return names.join(QStringLiteral(", "));
}

Invocation parse(const QStringList& arguments) {
    const qsizetype selfTest = arguments.indexOf(QStringLiteral("--selftest"), 1);
    if (selfTest >= 0) {
        Invocation invocation;
        invocation.mode = Mode::selfTest;
        if (selfTest + 1 < arguments.size()) invocation.selfTestFolder = arguments[selfTest + 1];
        return invocation;
    }
    Invocation invocation;
    bool help = false, version = false, permissions = false, optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || isLink(argument)) {
            invocation.links << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            help = true;
        } else if (argument == QLatin1String("--version")) {
            version = true;
        } else if (argument == QLatin1String("--check-permissions")) {
            permissions = true;
        } else if (argument == QLatin1String("--uitest")) {
            // Its folder, when one follows, is no link to hand on.
            if (i + 1 < arguments.size() && isLink(arguments[i + 1]) &&
                !arguments[i + 1].contains(QLatin1Char(':')))
                ++i;
        } else if (argument == QLatin1String("--action") || argument.startsWith(QLatin1String("--action="))) {
            QString name;
            if (argument.startsWith(QLatin1String("--action="))) {
                name = argument.mid(9);
            } else if (i + 1 < arguments.size()) {
                name = arguments[++i];
            } else {
                return usageError(QStringLiteral("Pictro: --action needs a name; the actions are: ") +
                                  actionNames());
            }
            const auto action = actionNamed(name);
            if (!action) return unknownAction(name);
            invocation.actions << *action;
        } else {
            return usageError(QStringLiteral("Pictro: unknown option \"%1\"; the options are: %2")
                                  .arg(argument, QString::fromLatin1(optionList)));
        }
    }
    if (help)
        invocation.mode = Mode::help;
    else if (version)
        invocation.mode = Mode::version;
    else if (permissions)
        invocation.mode = Mode::checkPermissions;
    return invocation;
}

QString helpText() {
    QString text = QStringLiteral(
        "Usage: pictro [OPTION]... [pictro://LINK]...\n"
        "Capture, annotate and share screenshots from the system tray.\n"
        "\n"
        "With no option Pictro starts in the system tray; when it already runs, the running one\n"
        "opens its last capture (or the preferences) and the new one exits. Links and actions\n"
        "are handed to the running Pictro in the same way.\n"
        "\n"
        "Options:\n");
    for (const OptionEntry& entry : optionTable)
        text += column(entry.names, entry.summary);
    text += QStringLiteral("\nActions:\n");
    for (const ActionEntry& entry : actionTable)
        text += column(entry.name, entry.summary);
    text += QStringLiteral("\n"
                           "Actions run whatever the URL scheme setting says; bind a key of the desktop to\n"
                           "\"pictro --action area\" to capture an area with it.\n"
                           "\n"
                           "Links (only while \"URL scheme\" is on in the Advanced preferences):\n");
    text +=
        column("pictro://capture?type=TYPE", "capture: area (the default), fullscreen, window, scrolling");
    text += column("pictro://ocr", "copy the text and QR codes of a dragged area");
    text += column("pictro://clipboard", "open the clipboard's image in the editor");
    text += QStringLiteral(
        "\n"
        "Files:\n"
        "  $XDG_CONFIG_HOME/Pictro/Pictro.conf  the settings (default ~/.config)\n"
        "  $XDG_DATA_HOME/Pictro/status.txt     the state of the last launch (default ~/.local/share)\n"
        "  $XDG_DATA_HOME/Pictro/events.log     one line per capture, opened image, link and action\n"
        "\n"
        "Exit status:\n"
        "  0 on success, 1 when Pictro cannot start (no X display), 2 for an unknown option or\n"
        "  action; --selftest exits with the number of failed checks.\n");
    return text;
}

QString versionText() {
    return QStringLiteral("Pictro " PICTRO_VERSION);
}

} // namespace commandline
