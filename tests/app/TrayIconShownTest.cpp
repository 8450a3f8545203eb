// The rest of the launch waits for the tray to show the icon: the first paint of the window Qt
// hands to an embedding tray, or at the latest a fixed time where no such window is painted.
#include "app/TrayIconShown.h"

#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr int kLongest = 3000;

TEST(TrayIconShown, GoesOnAtTheIconsFirstPaintOrAfterTheLongestWait) {
    QObject context;
    QElapsedTimer clock;
    clock.start();
    int calls = 0;
    TrayIconShown::then(&context, kLongest, [&] { ++calls; });
    QWidget other; // any other window's paint does not count
    other.resize(40, 40);
    other.show();
    ASSERT_TRUE(testsupport::waitExposed(&other));
    other.repaint();
    testsupport::letEventsRun(50);
    EXPECT_EQ(calls, 0);
    QWidget icon;
    icon.setObjectName(QStringLiteral("QSystemTrayIconSys"));
    icon.resize(22, 22);
    icon.show();
    ASSERT_TRUE(testsupport::waitUntil([&] { return calls > 0; }, kLongest / 2));
    EXPECT_LT(clock.elapsed(), kLongest);
    icon.update();
    testsupport::letEventsRun(100);
    EXPECT_EQ(calls, 1);

    // Without the icon's window, only the time ends the wait.
    clock.restart();
    TrayIconShown::then(&context, 300, [&] { ++calls; });
    ASSERT_TRUE(testsupport::waitUntil([&] { return calls == 2; }));
    EXPECT_GE(clock.elapsed(), 300);
}

} // namespace
