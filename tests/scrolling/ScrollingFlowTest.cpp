// The scrolling flow of the application: permission first, then an area selection, then the
// capture, whose image is handled as a scrolling capture. A process of its own, because result
// handling reaches the shared settings, which are pointed at a scratch folder before first use.
#include "app/AppCaptureFlows.h"
#include "app/AppDelegate.h"
#include "app/DiagnosticFiles.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "scrolling/ScrollingCapture.h"
#include "scrolling/ScrollingTestSupport.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ScrollingFlow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        home = new QTemporaryDir;
        qputenv("XDG_CONFIG_HOME", home->filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", home->filePath(QStringLiteral("data")).toUtf8());
        // The launch makes the folder of the event log; this test does not launch.
        QDir().mkpath(diagnostics::supportFolder());
        Settings::registerDefaults();
        for (const char* key : {keys::afterCopy, keys::afterSave, keys::afterShow})
            Settings::shared().set(key, false);
        Settings::shared().set(keys::scrollSpeed, 1.0);
    }

    static void TearDownTestSuite() {
        delete home;
        home = nullptr;
    }

    void SetUp() override {
        platform = &FakePlatform::installNew();
        page.platform = platform;
        page.screen = platform->fakeScreens.addScreen(QRectF(0, 0, 800, 600));
        region = QRectF(100, 100, 300, 400);
        page.viewport = QRect(100, 100, 300, 400);
        page.page = scrollingtest::randomRows(300, 1000, 3);
        page.offset = page.lastOffset(); // upwards from the bottom
        page.render();
        platform->fakeInput.onWheel = [this](int clicks) { page.turn(clicks); };
        delegate = std::make_unique<AppDelegate>(Settings::shared(), *platform, QStringList());
        flows = std::make_unique<AppCaptureFlows>(delegate->history(), delegate->eventLog(),
                                                  Settings::shared(), Platform::shared(),
                                                  [this](OverlayMode mode, OverlayCompletion completion) {
                                                      asked.push_back(mode);
                                                      pending = std::move(completion);
                                                      return true;
                                                  });
    }

    static inline QTemporaryDir* home = nullptr;
    FakePlatform* platform = nullptr;
    scrollingtest::FakePage page;
    QRectF region;
    std::unique_ptr<AppDelegate> delegate;
    std::unique_ptr<AppCaptureFlows> flows;
    std::vector<OverlayMode> asked;
    OverlayCompletion pending;
};

TEST_F(ScrollingFlow, WithoutTrustAsksForItAndSelectsNothing) {
    platform->fakeInput.trusted = false;
    flows->startScrolling(false);
    EXPECT_EQ(platform->fakeInput.trustRequests, 1);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ScrollingCapture::active(), nullptr);
}

// A desktop that does not let the program scroll other windows: every way in (menu, hotkey, link)
// ends in this flow, which says why instead of doing nothing; the window flows alike.
TEST_F(ScrollingFlow, ADesktopWithoutTheCapabilitySaysWhyAndStartsNothing) {
    platform->caps.set(Capability::syntheticScroll, false);
    platform->caps.set(Capability::windowList, false);
    const auto toastSays = [](const QString& text) {
        return testsupport::waitUntil(
            [&] { return ToastHUD::current() && ToastHUD::current()->message() == text; });
    };
    flows->startScrolling(false);
    EXPECT_TRUE(toastSays(capability::unavailableReason(Capability::syntheticScroll)));
    EXPECT_EQ(platform->fakeInput.trustRequests, 0);
    flows->captureAnyWindow();
    EXPECT_TRUE(toastSays(capability::unavailableReason(Capability::windowList)));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ScrollingCapture::active(), nullptr);
    platform->caps = Capabilities::all();
}

TEST_F(ScrollingFlow, TheStitchedImageIsHandledAsAScrollingCapture) {
    flows->startScrolling(true);
    ASSERT_EQ(asked, std::vector<OverlayMode>{OverlayMode::area});
    pending(OverlayResult::area(page.screen, CapturedImage{}, region));
    ASSERT_NE(ScrollingCapture::active(), nullptr);
    EXPECT_EQ(ScrollingCapture::active()->direction(), ScrollDirection::up);

    // A second request while it runs opens no selection.
    flows->startScrolling(false);
    EXPECT_EQ(asked.size(), 1u);

    ASSERT_TRUE(testsupport::waitUntil([this] { return delegate->lastCapture().has_value(); }, 30000));
    EXPECT_EQ(delegate->lastCapture()->image.convertToFormat(QImage::Format_RGB32), page.page);
    const QString log = testsupport::readFile(home->filePath(QStringLiteral("data/Pictro/events.log")));
    EXPECT_TRUE(log.contains(QStringLiteral("capture source=scrolling px=300x1000"))) << qPrintable(log);
}

} // namespace
