#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class DesktopShortcuts;

// A system-wide shortcut the program asks for, named by the action it triggers. The key is the
// user's choice (the program's key codes and modifier mask): a backend that grabs keys itself
// grabs exactly that key; a desktop that assigns shortcuts itself is offered it as the preferred
// trigger and records the action under its id and description.
struct HotkeyRequest {
    QString action;      // stable id of the action ("area", "scrolling-escape")
    QString description; // what a desktop's shortcut settings show for it ("Capture Area")
    quint32 keyCode = 0;
    quint32 modifiers = 0;
    // Held only while something runs (Esc during a scrolling capture): a desktop that binds
    // shortcuts through its settings is not asked for it, and refuses it.
    bool momentary = false;
};

// System-wide hotkeys. Each registration is identified by a four-character signature and a numeric
// id chosen by the caller; presses are delivered by that identity on the main thread.
class HotkeyService {
  public:
    struct Registration {
        quint32 signature = 0;
        quint32 id = 0;
        bool operator==(const Registration&) const = default;
    };
    using PressHandler = std::function<void(Registration)>;

    virtual ~HotkeyService() = default;

    // 0 on success; a non-zero status when the system refuses (the combination is taken by
    // another program, or the key has no physical position).
    virtual int registerHotkey(const HotkeyRequest& request, Registration id) = 0;
    virtual void unregisterHotkey(Registration id) = 0;
    // The one receiver of presses; called after the system's event has been handled.
    virtual void setPressHandler(PressHandler handler) = 0;
    // Where the desktop binds the shortcuts itself (and chooses their keys), what it bound; none
    // where the key the user chose is the one grabbed, or where the desktop binds nothing.
    virtual DesktopShortcuts* desktopShortcuts() { return nullptr; }

    // The status of a refusal that holds for every key in this session (the desktop lets no program
    // bind shortcuts; its own configuration binds them): the service says so once, with what to do,
    // so callers need not log each refusal again at every reload.
    static constexpr int refusedForTheSession = -100;

    // "PCTR" read as a big-endian 32-bit number.
    static constexpr quint32 fourCharCode(const char (&code)[5]) {
        return (quint32(quint8(code[0])) << 24) | (quint32(quint8(code[1])) << 16) |
               (quint32(quint8(code[2])) << 8) | quint32(quint8(code[3]));
    }
};
