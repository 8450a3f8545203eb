#pragma once

// Pixels of displays and windows, and whether the program may read them.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;

    // True when screen capture is allowed right now; never prompts.
    virtual bool screenCaptureAllowed() const = 0;
    // Asks the user for screen-capture access where the system has such a prompt.
    virtual void requestScreenCaptureAccess() = 0;
};
