#pragma once

#include "platform/HotkeyService.h"

#include <QAbstractNativeEventFilter>

#include <vector>

struct xcb_connection_t;

// Passive key grabs on the root window through Qt's own X connection, so presses arrive in Qt's
// event stream and are picked out by a native event filter. Each combination is grabbed once per
// lock-modifier variant (Caps Lock, Num Lock, Scroll Lock), so it fires whatever their state.
class X11HotkeyService : public HotkeyService, public QAbstractNativeEventFilter {
  public:
    X11HotkeyService();
    ~X11HotkeyService() override;

    int registerHotkey(const HotkeyRequest& request, Registration id) override;
    void unregisterHotkey(Registration id) override;
    void setPressHandler(PressHandler handler) override { m_handler = std::move(handler); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // X modifier state of the program's modifier mask: command → Control, shift → Shift,
    // option → Mod1 (Alt), control → Mod4 (Super).
    static quint16 xModifiers(quint32 modifiers);

  private:
    struct Grab {
        Registration id;
        quint8 keycode;
        quint16 modifiers;
    };

    bool ensureConnection();
    std::vector<quint16> lockVariants() const;
    void ungrab(const Grab& grab);
    quint16 lockMaskFor(quint32 keysym) const;

    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
    quint16 m_numLock = 0;
    quint16 m_scrollLock = 0;
    bool m_filterInstalled = false;
    std::vector<Grab> m_grabs;
    PressHandler m_handler;
};
