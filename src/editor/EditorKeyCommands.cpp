#include "editor/EditorKeyCommands.h"

#include <array>
#include <utility>

namespace editorkeys {
namespace {

constexpr std::array<std::pair<char, EditorTool>, 11> kToolLetters{{
    {'v', EditorTool::select},
    {'a', EditorTool::arrow},
    {'l', EditorTool::line},
    {'r', EditorTool::rect},
    {'o', EditorTool::oval},
    {'h', EditorTool::highlight},
    {'p', EditorTool::pen},
    {'t', EditorTool::text},
    {'n', EditorTool::counter},
    {'b', EditorTool::blur},
    {'c', EditorTool::crop},
}};

// Every modifier Qt reports counts, the keypad's and the group switch included: a shortcut means
// exactly its modifiers and no others.
constexpr Qt::KeyboardModifiers kAllModifiers = Qt::KeyboardModifierMask;

// The character a Ctrl shortcut is read from. Qt's key code already has Shift applied to symbols
// (Shift with "=" is Key_Plus), and letters come as one code whatever the case; the text is no
// help here because Ctrl turns letters into control characters.
QChar shortcutCharacter(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return QChar('a' + (key - Qt::Key_A));
    switch (key) {
    case Qt::Key_0:
        return QChar('0');
    case Qt::Key_Equal:
        return QChar('=');
    case Qt::Key_Plus:
        return QChar('+');
    case Qt::Key_Minus:
        return QChar('-');
    default:
        return {};
    }
}

std::optional<Command> ctrlShortcut(QChar c) {
    switch (c.unicode()) {
    case 'c':
        return Command::copy;
    case 's':
        return Command::save;
    case 'p':
        return Command::pin;
    case 'z':
        return Command::undo;
    case 'w':
        return Command::close;
    case '0':
        return Command::zoomActual;
    case '=':
    case '+':
        return Command::zoomIn;
    case '-':
        return Command::zoomOut;
    default:
        return std::nullopt;
    }
}

std::optional<Command> ctrlShiftShortcut(QChar c) {
    switch (c.unicode()) {
    case 'z':
        return Command::redo;
    case 's':
        return Command::save;
    default:
        return std::nullopt;
    }
}

// The typed character in lower case, or the key's own letter when the event carries no text.
QChar plainCharacter(const KeyPress& press) {
    if (press.text.size() == 1) return press.text.at(0).toLower();
    return shortcutCharacter(press.key);
}

} // namespace

bool capsLockOn(const QString& text, Qt::KeyboardModifiers modifiers, quint32 x11State) {
    if (x11State & x11LockMask) return true;
    if (modifiers & Qt::ShiftModifier) return false;
    return text.size() == 1 && text.at(0).isLetter() && text.at(0).isUpper();
}

bool isShortcut(Command command) {
    switch (command) {
    case Command::none:
    case Command::escape:
    case Command::deleteSelection:
    case Command::selectTool:
        return false;
    default:
        return true;
    }
}

std::optional<EditorTool> toolForLetter(QChar letter) {
    for (const auto& [c, tool] : kToolLetters)
        if (letter == QLatin1Char(c)) return tool;
    return std::nullopt;
}

KeyCommand commandFor(const KeyPress& press) {
    const Qt::KeyboardModifiers mods = press.modifiers & kAllModifiers;
    // Caps Lock does not stand in the way of Ctrl shortcuts: Ctrl+Z must undo whatever the lock
    // state, and nothing else could be meant by it.
    const QChar key = shortcutCharacter(press.key);
    if (mods == Qt::ControlModifier) {
        if (const auto command = ctrlShortcut(key)) return {*command, std::nullopt};
    } else if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (const auto command = ctrlShiftShortcut(key)) return {*command, std::nullopt};
    }

    if (press.key == Qt::Key_Escape) return {Command::escape, std::nullopt};
    if (press.key == Qt::Key_Backspace || press.key == Qt::Key_Delete)
        return {Command::deleteSelection, std::nullopt};

    if (mods == Qt::NoModifier && !press.capsLock) {
        if (const auto tool = toolForLetter(plainCharacter(press))) return {Command::selectTool, tool};
    }
    return {};
}

} // namespace editorkeys
