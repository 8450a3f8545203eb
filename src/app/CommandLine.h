#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line: what a person types, what a desktop entry or a compositor binding
// runs, and what the desktop passes for a pictro:// link.
namespace commandline {

// The actions `--action NAME` can start, in the order --help lists them.
enum class Action {
    fullscreen,
    area,
    repeatArea,
    activeWindow,
    window,
    delayed,
    scrolling,
    ocr,
    openFile,
    clipboard,
    settings,
    show,
};

// The name typed after --action ("repeat-area"), and back; none for an unknown name.
QString actionName(Action action);
std::optional<Action> actionNamed(const QString& name);
// Every action name, in --help order, separated by ", ".
QString actionNames();

enum class Mode { selfTest, help, version, checkPermissions, application, usageError };

struct Invocation {
    Mode mode = Mode::application;
    // selfTest: the output folder as given (empty: the default folder).
    QString selfTestFolder;
    // application: the actions in the order given, and the links (arguments that are no option).
    QList<Action> actions;
    QStringList links;
    // usageError: the one line that says what was wrong and what is accepted.
    QString error;
};

// Reads the argument list, program path first. The first "--selftest" wins over everything and
// takes the argument after it, whatever it is, as its folder; then help, version and the
// permission report, in that order; otherwise the application runs with the actions and links.
Invocation parse(const QStringList& arguments);

// The --help text (also the source of the manual page), ending in a line feed.
QString helpText();
// "Pictro " and the version, without a line feed.
QString versionText();

} // namespace commandline
