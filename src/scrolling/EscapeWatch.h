#pragma once

#include "platform/HotkeyService.h"

#include <QObject>
#include <QTimer>

#include <functional>

class InputSynth;

// Hears Esc and Return (either of which stops a scrolling capture) while the capture runs,
// wherever the focus is. Both are also held as system-wide hotkeys, so the application being
// scrolled never receives them; those hotkeys' presses go to the hotkey dispatcher, which knows
// no action for them. What tells the capture is the key state itself (watched every few
// milliseconds) and, when one of this program's own windows has the focus, the key event, which
// is then swallowed.
class EscapeWatch : public QObject {
    Q_OBJECT
  public:
    static constexpr quint32 escKeyCode = 53;
    static constexpr HotkeyService::Registration hotkey{HotkeyService::fourCharCode("PCES"), 999};
    static constexpr quint32 returnKeyCode = 36;
    static constexpr quint32 keypadEnterKeyCode = 76;
    static constexpr HotkeyService::Registration returnHotkey{HotkeyService::fourCharCode("PCES"), 998};
    static constexpr int pollMilliseconds = 15;

    EscapeWatch(InputSynth& input, HotkeyService& hotkeys, std::function<void()> onEscape,
                QObject* parent = nullptr);
    ~EscapeWatch() override;

    void start();
    // Releases the hotkey and stops watching; also done on destruction.
    void stop();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void poll();

    InputSynth& m_input;
    HotkeyService& m_hotkeys;
    std::function<void()> m_onEscape;
    QTimer m_poll;
    bool m_watching = false;
    bool m_hotkeyHeld = false;
    bool m_returnHeld = false;
};
