#include "app/AppCaptureFlows.h"
#include "app/AppDelegate.h"
#include "hud/HudTestSupport.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

TEST(DelayedCapture, NeverCapturesBeforeThreeSeconds) {
    Settings& settings = hudtest::isolatedSettings();
    FakePlatform& platform = hudtest::installOneScreen();
    AppDelegate delegate(settings, platform, {});
    AppCaptureFlows flows(delegate.history(), delegate.eventLog(), settings, Platform::shared(), {});
    // A coarse timer may fire up to 5 % early; two runs make an early one all but certain to show.
    for (int run = 0; run < 2; ++run) {
        const int before = platform.fakeCapture.captureCount();
        QElapsedTimer clock;
        clock.start();
        flows.captureDelayed();
        ASSERT_TRUE(
            testsupport::waitUntil([&] { return platform.fakeCapture.captureCount() > before; }, 6000));
        EXPECT_GE(clock.elapsed(), 3000) << "run " << run;
        EXPECT_LT(clock.elapsed(), 3500) << "run " << run;
    }
    hudtest::clearHuds();
}

} // namespace
