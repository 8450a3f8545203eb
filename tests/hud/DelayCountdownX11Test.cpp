// The delayed-capture countdown on a real X server: seen while it counts, never in the pixels
// taken when it calls back.
#include "hud/DelayCountdown.h"
#include "support/TestSupport.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

using testsupport::waitUntil;

namespace {

// Pixels of `area` in a root capture that are not white.
int nonWhitePixels(const QImage& root, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (root.pixelColor(x, y) != QColor(Qt::white)) ++n;
    return n;
}

QImage rootNow() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(DelayCountdownOnX11, CountsThreeTwoOneAndIsGoneBeforeTheCapture) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint centre = screen->geometry().center();
    // A white window where the panel appears, so the panel shows against it.
    QWidget white;
    white.setWindowFlags(Qt::FramelessWindowHint);
    white.setAutoFillBackground(true);
    QPalette palette = white.palette();
    palette.setColor(QPalette::Window, Qt::white);
    white.setPalette(palette);
    white.setGeometry(QRect(centre - QPoint(300, 200), QSize(600, 400)));
    white.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&white));
    QCursor::setPos(centre);
    QTest::qWait(300);

    std::vector<int> shown;
    QImage during, captured;
    qint64 calledAt = -1;
    int calls = 0;
    QElapsedTimer clock;
    clock.start();
    DelayCountdown* countdown = DelayCountdown::start(3, [&] {
        ++calls;
        calledAt = clock.elapsed();
        captured = rootNow(); // what an immediate capture would see
    });
    ASSERT_NE(countdown, nullptr);
    const QRect panel = countdown->geometry();
    EXPECT_TRUE(panel.contains(centre));
    ASSERT_TRUE(waitUntil(
        [&] {
            if (DelayCountdown* c = DelayCountdown::current())
                if (shown.empty() || shown.back() != c->number()) shown.push_back(c->number());
            if (during.isNull() && clock.elapsed() > 1500) during = rootNow();
            return calls > 0;
        },
        6000));
    QTest::qWait(100);
    EXPECT_EQ(calls, 1);
    // 0 is the last quarter second, with the panel gone; a busy machine may poll past it.
    if (!shown.empty() && shown.back() == 0) shown.pop_back();
    EXPECT_EQ(shown, (std::vector<int>{3, 2, 1}));
    EXPECT_GE(calledAt, 3000);
    EXPECT_LT(calledAt, 3600) << "late only by the event loop's own delays";
    EXPECT_GT(nonWhitePixels(during, panel), panel.width() * panel.height() / 2) << "seen while counting";
    EXPECT_EQ(nonWhitePixels(captured, panel), 0) << "not in the captured pixels";
    EXPECT_EQ(DelayCountdown::current(), nullptr);
}

TEST(DelayCountdownOnX11, ANewCountdownReplacesTheRunningOneWhoseCallbackNeverComes) {
    int first = 0, second = 0;
    DelayCountdown::start(1, [&] { ++first; });
    QTest::qWait(200);
    DelayCountdown::start(1, [&] { ++second; });
    ASSERT_TRUE(waitUntil([&] { return second == 1; }, 3000));
    QTest::qWait(300);
    EXPECT_EQ(first, 0);
}

} // namespace
