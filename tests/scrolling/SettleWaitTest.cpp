// The wait between a scroll and the next frame: it ends when the region's repaint has, and never
// later than its longest wait.
#include "scrolling/SettleWait.h"

#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kLongest = 1500;

// How long the wait took, with `meanwhile` run once it has started.
qint64 waitMs(bool awaitChange, const std::function<void(SettleWait&)>& meanwhile = {}) {
    bool done = false;
    SettleWait wait([&] { done = true; });
    QElapsedTimer clock;
    clock.start();
    wait.start(kLongest, awaitChange);
    if (meanwhile) meanwhile(wait);
    EXPECT_TRUE(testsupport::waitUntil([&] { return done; }, 2 * kLongest));
    return clock.elapsed();
}

TEST(SettleWait, EndsOnceTheRegionHasBeenDrawnAndLeftAlone) {
    // A burst of drawing 100 ms long, a change every 10 ms: the wait ends one quiet time after it.
    const qint64 afterBurst = waitMs(true, [](SettleWait& wait) {
        for (int at = 0; at <= 100; at += 10)
            QTimer::singleShot(at, &wait, [&wait] { wait.changed(); });
    });
    EXPECT_GE(afterBurst, 100 + SettleWait::quietMilliseconds);
    EXPECT_LT(afterBurst, kLongest / 2);
    // Not awaiting a change, a region nobody draws in is settled after the quiet time.
    EXPECT_LT(waitMs(false), kLongest / 2);
}

TEST(SettleWait, WaitsTheLongestForARegionThatNeverChangesOrNeverStops) {
    // An awaited change that never comes: the end of the page, or nothing reporting changes.
    EXPECT_GE(waitMs(true), kLongest);
    // Drawing that goes on and on (an animation) never gives a quiet moment.
    QTimer animation;
    const qint64 animated = waitMs(true, [&animation](SettleWait& wait) {
        QObject::connect(&animation, &QTimer::timeout, &wait, [&wait] { wait.changed(); });
        animation.start(10);
    });
    EXPECT_GE(animated, kLongest);
}

} // namespace
