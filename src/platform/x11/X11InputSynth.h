#pragma once

#include "platform/InputSynth.h"

// Synthetic input through XTest needs no trust on X11 beyond a reachable server.
class X11InputSynth : public InputSynth {
public:
    bool accessibilityTrusted() const override;
    void requestAccessibilityTrust() override {}
};
