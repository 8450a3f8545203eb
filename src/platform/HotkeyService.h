#pragma once

#include <QtGlobal>

#include <functional>

// System-wide hotkeys: a key (the program's key codes) plus modifier mask, identified by a
// four-character signature and a numeric id. Presses are delivered by id on the main thread.
class HotkeyService {
public:
    struct Registration {
        quint32 signature = 0;
        quint32 id = 0;
        bool operator==(const Registration&) const = default;
    };
    using PressHandler = std::function<void(Registration)>;

    virtual ~HotkeyService() = default;

    // 0 and a registration on success; a non-zero status when the system refuses (the
    // combination is taken by another program, or the key has no physical position).
    virtual int registerHotkey(quint32 keyCode, quint32 modifiers, Registration id) = 0;
    virtual void unregisterHotkey(Registration id) = 0;
    // The one receiver of presses; called after the system's event has been handled.
    virtual void setPressHandler(PressHandler handler) = 0;

    // "PCTR" read as a big-endian 32-bit number.
    static constexpr quint32 fourCharCode(const char (&code)[5]) {
        return (quint32(quint8(code[0])) << 24) | (quint32(quint8(code[1])) << 16) | (quint32(quint8(code[2])) << 8) |
               quint32(quint8(code[3]));
    }
};
