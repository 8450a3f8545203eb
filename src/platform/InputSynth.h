#pragma once

#include <QPointF>
#include <QtGlobal>

// Synthetic input that other applications receive as if the user made it, and the one piece of
// keyboard state a running capture watches for.
class InputSynth {
  public:
    virtual ~InputSynth() = default;

    // True when the program may post synthetic input; never prompts.
    virtual bool accessibilityTrusted() const = 0;
    // Asks the user for that trust where the system has such a prompt.
    virtual void requestAccessibilityTrust() = 0;

    // Moves the pointer, without a click, to a point in the top-left space (points).
    virtual void warpPointer(const QPointF& topLeftPoint) = 0;
    // Turns the wheel under the pointer by whole notches: positive turns it away from the user
    // (the content moves down, as when scrolling up), negative towards. A notch is the only unit
    // every application understands; how far one moves the content is the application's choice,
    // so callers measure the effect instead of assuming it. False when nothing could be posted.
    virtual bool postWheelClicks(int clicks) = 0;
    // Whether a key (the program's key codes) is held right now, wherever the focus is.
    virtual bool keyIsDown(quint32 keyCode) const = 0;
};
