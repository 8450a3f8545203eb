// What the scrolling capture waits on: the X server's report of where the screen is drawn, for
// another client's window as for its own, through the off-screen redirection captures keep on.
#include "platform/ScreenChanges.h"
#include "platform/x11/X11Platform.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(ScreenChangesOnX11, ReportsDrawingWithinTheWatchedPixelsOnly) {
    X11Platform& platform = x11test::installX11Platform();
    ASSERT_NE(platform.screenChanges(), nullptr);
    QWidget window;
    window.setGeometry(200, 200, 300, 200);
    window.show();
    ASSERT_TRUE(testsupport::waitExposed(&window, x11test::firstWindowMs));
    const QRect shown(window.mapToGlobal(QPoint(0, 0)), window.size());
    int inside = 0, beside = 0;
    auto in = platform.screenChanges()->watch(shown.adjusted(50, 50, -50, -50), [&] { ++inside; });
    auto out = platform.screenChanges()->watch(shown.translated(shown.width() + 50, 0), [&] { ++beside; });
    ASSERT_TRUE(in && out);
    // Whatever the first paint left to report is reported before counting starts.
    testsupport::letEventsRun(200);
    in->sync();
    out->sync();
    inside = beside = 0;

    window.repaint();
    EXPECT_TRUE(testsupport::waitUntil([&] { return inside > 0; }));
    out->sync();
    EXPECT_EQ(beside, 0);
}

} // namespace
