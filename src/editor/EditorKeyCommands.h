#pragma once

#include "editor/EditorTool.h"

#include <QString>
#include <Qt>

#include <optional>

// What a key press in the editor means. Pure: it sees only what the key event carries.
namespace editorkeys {

enum class Command {
    none,            // not the editor's: left to the widget's default handling
    escape,          // leave the editor as the Escape settings say
    deleteSelection, // consumed even when nothing is selected
    selectTool,
    undo,
    redo,
    copy,
    save,
    pin,
    close,
    zoomActual,
    zoomIn,
    zoomOut,
};

struct KeyPress {
    int key = 0;  // Qt::Key
    QString text; // the characters typed, with Shift and Caps Lock applied
    Qt::KeyboardModifiers modifiers;
    bool capsLock = false;
};

struct KeyCommand {
    Command command = Command::none;
    std::optional<EditorTool> tool; // for selectTool

    bool operator==(const KeyCommand&) const = default;
};

// The X11 core protocol's Lock bit in a key event's state (QKeyEvent::nativeModifiers()).
inline constexpr quint32 x11LockMask = 0x2;

// Whether Caps Lock is on for this press: the X state's Lock bit where the platform reports one
// (pass 0 elsewhere), or a letter typed in upper case without Shift. On an X server both tell;
// the text alone serves platforms that report no key state.
bool capsLockOn(const QString& text, Qt::KeyboardModifiers modifiers, quint32 x11State);

// The command for a key press. Ctrl shortcuts come first, then Escape, Delete and Backspace (with
// any modifiers), then the tool letters, which need no modifier at all, Caps Lock included.
KeyCommand commandFor(const KeyPress& press);

// Whether the command comes from a Ctrl shortcut rather than a plain key.
bool isShortcut(Command command);

// The tool a letter chooses ('r' → rect); none for other characters.
std::optional<EditorTool> toolForLetter(QChar letter);

} // namespace editorkeys
