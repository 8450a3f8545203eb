#include "capture/CaptureEngine.h"
#include "platform/fake/FakePlatform.h"

#include <QCoreApplication>
#include <QThread>

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testsupport::solidImage;

class CaptureEngineTest : public testing::Test {
  protected:
    void SetUp() override { platform = &FakePlatform::installNew(); }
    FakePlatform* platform = nullptr;
};

TEST_F(CaptureEngineTest, FrameAppKitFlipsThroughThePrimaryHeight) {
    WindowInfo w;
    w.frameCG = QRectF(100, 50, 400, 300);
    EXPECT_EQ(w.frameAppKit(1080), QRectF(100, 730, 400, 300));
}

TEST_F(CaptureEngineTest, ScreenContainingPicksTheLargestOverlapAndKeepsTheEarlierOnTies) {
    // Two 1000 × 800 screens side by side; the primary is on the left.
    platform->fakeScreens.addScreen(QRectF(0, 0, 1000, 800));
    platform->fakeScreens.addScreen(QRectF(1000, 0, 1000, 800));
    EXPECT_EQ(CaptureEngine::screenContaining(QRectF(900, 100, 200, 100))->displayId, 1u); // half on each
    EXPECT_EQ(CaptureEngine::screenContaining(QRectF(950, 100, 200, 100))->displayId, 2u);
    EXPECT_EQ(CaptureEngine::screenContaining(QRectF(5000, 5000, 10, 10))->displayId, 1u); // on no screen
    // Top-left space: y = 700 … 900 lies mostly below the screens' bottom edge (maxY 800).
    EXPECT_EQ(CaptureEngine::screenContaining(QRectF(1200, 700, 100, 50))->displayId, 2u);
    platform->fakeScreens.screenList.clear();
    EXPECT_FALSE(CaptureEngine::screenContaining(QRectF(0, 0, 10, 10)).has_value());
}

TEST_F(CaptureEngineTest, WindowScaleFallsBackToTheMainScreenThenTwo) {
    ScreenInfo main;
    main.scale = 1.5;
    EXPECT_EQ(CaptureEngine::windowScale(QRectF(0, 0, 10, 10), {}, main), 1.5);
    EXPECT_EQ(CaptureEngine::windowScale(std::nullopt, {}, std::nullopt), 2.0);
    platform->fakeScreens.addScreen(QRectF(0, 0, 800, 600), 3.0);
    EXPECT_EQ(CaptureEngine::windowScale(QRectF(0, 0, 10, 10), platform->fakeScreens.screenList, main), 3.0);
}

TEST_F(CaptureEngineTest, DisplayCaptureCarriesTheScreensScale) {
    const ScreenInfo screen = platform->fakeScreens.addScreen(QRectF(0, 0, 200, 100), 2.0);
    platform->fakeCapture.setDisplayPixels(screen.displayId, solidImage(QSize(400, 200), Qt::red));
    auto future = CaptureEngine::captureDisplay(screen);
    const CaptureResult r = future.result();
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().scale, 2.0);
    EXPECT_EQ(r.image().image.size(), QSize(400, 200));
    EXPECT_EQ(r.image().pointSize(), QSizeF(200, 100));
}

TEST_F(CaptureEngineTest, DisplayCaptureErrors) {
    ScreenInfo gone;
    gone.displayId = 99;
    EXPECT_EQ(CaptureEngine::captureDisplay(gone).result().error(), CaptureError::noDisplay);
    const ScreenInfo screen = platform->fakeScreens.addScreen(QRectF(0, 0, 200, 100));
    platform->fakeCapture.allowed = false;
    EXPECT_EQ(CaptureEngine::captureDisplay(screen).result().error(), CaptureError::permission);
    EXPECT_EQ(platform->fakeCapture.captureCount(), 0); // refused before any pixels are read
}

TEST_F(CaptureEngineTest, WindowCaptureUsesTheScaleOfTheWindowsScreen) {
    platform->fakeScreens.addScreen(QRectF(0, 0, 1000, 800), 1.0);
    platform->fakeScreens.addScreen(QRectF(1000, 0, 1000, 800), 2.0);
    platform->fakeWindows.addWindow(5, QRectF(1100, 100, 300, 200), 7);
    platform->fakeCapture.setWindowPixels(5, solidImage(QSize(600, 400), Qt::blue));
    const CaptureResult r = CaptureEngine::captureWindow(5).result();
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().scale, 2.0);
    // Closed between picking and capture.
    platform->fakeCapture.removeWindow(5);
    EXPECT_EQ(CaptureEngine::captureWindow(5).result().error(), CaptureError::noWindow);
    EXPECT_EQ(CaptureEngine::captureWindow(6).result().error(), CaptureError::noWindow);
}

TEST_F(CaptureEngineTest, ContinuationsRunOnTheContextsThread) {
    const ScreenInfo screen = platform->fakeScreens.addScreen(QRectF(0, 0, 20, 10));
    platform->fakeCapture.setDisplayPixels(screen.displayId, solidImage(QSize(20, 10), Qt::green));
    QObject context;
    QThread* ranOn = nullptr;
    bool done = false;
    CaptureEngine::captureDisplay(screen).then(&context, [&](const CaptureResult& r) {
        ranOn = QThread::currentThread();
        done = r.ok();
    });
    for (int i = 0; i < 200 && !done; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(ranOn, QThread::currentThread());
}

TEST_F(CaptureEngineTest, OnScreenWindowsFiltersTheFakeServersList) {
    platform->fakeWindows.pid = 42;
    platform->fakeWindows.addWindow(1, QRectF(0, 0, 100, 100), 42); // our own
    platform->fakeWindows.addWindow(2, QRectF(0, 0, 100, 100), 8);
    platform->fakeWindows.addWindow(3, QRectF(0, 0, 100, 100), 9);
    platform->fakeWindows.frontmostPid = 9;
    const auto list = CaptureEngine::onScreenWindows();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].windowID, 2u);
    EXPECT_EQ(CaptureEngine::frontmostWindow()->windowID, 3u);
}

struct DownscaleCase {
    QSize pixels;
    double scale;
    QSize expected;
    double expectedScale;
};

class Downscale : public testing::TestWithParam<DownscaleCase> {};

TEST_P(Downscale, TruncatesToWholePoints) {
    QImage image(GetParam().pixels, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const CapturedImage out = CapturedImage{image, GetParam().scale}.downscaledTo1x();
    EXPECT_EQ(out.image.size(), GetParam().expected);
    EXPECT_EQ(out.scale, GetParam().expectedScale);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Downscale,
                         testing::Values(DownscaleCase{{400, 300}, 2.0, {200, 150}, 1.0},
                                         DownscaleCase{{1001, 300}, 2.0, {500, 150}, 1.0},
                                         DownscaleCase{{400, 300}, 1.0, {400, 300}, 1.0},
                                         DownscaleCase{{300, 300}, 1.5, {200, 200}, 1.0},
                                         DownscaleCase{{400, 300}, 0.5, {400, 300}, 0.5}));

} // namespace
