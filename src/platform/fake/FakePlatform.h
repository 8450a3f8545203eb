#pragma once

#include "platform/InputSynth.h"
#include "platform/Platform.h"
#include "platform/ScreenCapture.h"
#include "platform/Screens.h"
#include "platform/fake/FakeHotkeyService.h"

#include <vector>

// In-memory screens with a settable pointer.
class FakeScreens : public Screens {
public:
    std::vector<ScreenInfo> screenList;
    std::optional<ScreenInfo> main;  // when unset, the first screen counts as main
    QPointF mouse;

    std::vector<ScreenInfo> screens() const override { return screenList; }
    std::optional<ScreenInfo> mainScreen() const override;
    QPointF mouseLocation() const override { return mouse; }
    geometry::SpaceConverter converter() const override;

    // Adds a screen of the given frame (bottom-left points) and scale; returns it.
    ScreenInfo& addScreen(const QRectF& frame, double scale = 1.0, const QString& name = {});
};

class FakeScreenCapture : public ScreenCapture {
public:
    bool allowed = true;
    int accessRequests = 0;

    bool screenCaptureAllowed() const override { return allowed; }
    void requestScreenCaptureAccess() override { ++accessRequests; }
};

class FakeInputSynth : public InputSynth {
public:
    bool trusted = true;
    int trustRequests = 0;

    bool accessibilityTrusted() const override { return trusted; }
    void requestAccessibilityTrust() override { ++trustRequests; }
};

class FakePlatform : public Platform {
public:
    FakeScreens fakeScreens;
    FakeScreenCapture fakeCapture;
    FakeInputSynth fakeInput;
    FakeHotkeyService fakeHotkeys;

    Screens& screens() override { return fakeScreens; }
    ScreenCapture& screenCapture() override { return fakeCapture; }
    InputSynth& inputSynth() override { return fakeInput; }
    HotkeyService& hotkeys() override { return fakeHotkeys; }

    // Installs a new fake platform and returns it (owned by Platform).
    static FakePlatform& installNew();
};
