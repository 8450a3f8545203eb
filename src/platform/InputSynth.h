#pragma once

// Synthetic input that other applications receive as if the user made it.
class InputSynth {
public:
    virtual ~InputSynth() = default;

    // True when the program may post synthetic input; never prompts.
    virtual bool accessibilityTrusted() const = 0;
    // Asks the user for that trust where the system has such a prompt.
    virtual void requestAccessibilityTrust() = 0;
};
