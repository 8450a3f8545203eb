#pragma once

#include "platform/ScreenCapture.h"

// X11 has no capture permission: reading the screen is allowed whenever the server answers.
class X11ScreenCapture : public ScreenCapture {
public:
    bool screenCaptureAllowed() const override;
    void requestScreenCaptureAccess() override {}
};
