// The scrolling capture in a real headless sway session: a window showing a tall page whose pixel
// rows all differ is turned through the compositor's virtual pointer, each frame comes from the
// screenshot portal, and the stitched image must be the page itself, every row exactly once.
#include "WaylandSession.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "scrolling/ScrollingCapture.h"
#include "scrolling/ScrollingTestSupport.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using testsupport::waitUntil;

TEST(ScrollingOnWayland, TheVirtualPointerTurnsAWindowAndEveryRowIsStitchedOnce) {
    Settings::registerDefaults();
    const waylandsession::InstalledPlatform platform;
    ASSERT_TRUE(Platform::current().capabilities().has(Capability::syntheticScroll));

    QScrollArea view;
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Full screen: a Wayland client does not learn where the compositor put a window otherwise.
    view.showFullScreen();
    ASSERT_TRUE(testsupport::waitExposed(&view, 10000));
    ASSERT_TRUE(waitUntil([&] { return view.size() == view.screen()->size(); }));
    const QSize viewport = view.viewport()->size();
    const QImage page = scrollingtest::randomRows(viewport.width(), 3 * viewport.height() + 123, 23);
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(page));
    label->setFixedSize(page.size());
    view.setWidget(label);
    ASSERT_TRUE(waitUntil([&] {
        return waylandsession::grim().copy(QRect(QPoint(0, 0), viewport)) ==
               page.copy(QRect(QPoint(0, 0), viewport));
    })) << "the page is not on screen";

    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    settings.set(keys::scrollSpeed, 1.0);
    const Screens& screens = Platform::current().screens();
    const ScreenInfo screen = screens.screens().front();
    // Inside the page, with room below for the pointer to wait out of the frames.
    const QRect inPage(200, 100, viewport.width() - 400, viewport.height() - 280);
    const QRectF region =
        screens.converter().qtToBottomLeft(QRectF(inPage)).translated(-screen.frame.topLeft());
    bool done = false;
    std::optional<CapturedImage> result;
    QElapsedTimer clock;
    clock.start();
    ASSERT_NE(ScrollingCapture::start(
                  ScrollDirection::down, screen, region,
                  [&](const std::optional<CapturedImage>& image) {
                      result = image;
                      done = true;
                  },
                  settings),
              nullptr);
    ASSERT_TRUE(waitUntil([&] { return done; }, 120000));
    const double seconds = clock.elapsed() / 1000.0;

    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    ASSERT_TRUE(result);
    // Each frame is a portal screenshot: how fast that lets a page be taken.
    std::printf("stitched %d rows in %.1f s: %.0f px/s\n", result->image.height(), seconds,
                result->image.height() / seconds);
    // From the region's rows at the top of the page to its rows with the page scrolled to the end.
    const QImage expected = page.copy(inPage.adjusted(0, 0, 0, page.height() - viewport.height()));
    ASSERT_EQ(result->image.size(), expected.size());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), expected);
}
