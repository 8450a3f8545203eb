#pragma once

#include "platform/InputSynth.h"

class Screens;

// Synthetic input through XTest needs no trust on X11 beyond a reachable server. Wheel notches are
// the core protocol's buttons 4 (away) and 5 (towards); the pointer is warped in root pixels.
class X11InputSynth : public InputSynth {
  public:
    explicit X11InputSynth(const Screens& screens) : m_screens(screens) {}

    bool accessibilityTrusted() const override;
    void requestAccessibilityTrust() override {}
    void warpPointer(const QPointF& topLeftPoint) override;
    bool postWheelClicks(int clicks) override;
    bool keyIsDown(quint32 keyCode) const override;

  private:
    const Screens& m_screens;
};
