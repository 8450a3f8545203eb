// The scrolling capture over the fake platform: a "page" taller than its region moves under the
// synthetic wheel, each captured screen shows the part of it that is scrolled into view, and the
// stitched result must be the page itself.
#include "scrolling/ScrollingCapture.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "platform/fake/FakePlatform.h"
#include "scrolling/EscapeWatch.h"
#include "scrolling/ScrollRegion.h"
#include "scrolling/ScrollStep.h"
#include "scrolling/ScrollingBorder.h"

#include "scrolling/ScrollingTestSupport.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"
#include <QLabel>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using scrollingtest::FakePage;
using scrollingtest::randomRows;

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

class ScrollingCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Settings::registerDefaults();
        platform = &FakePlatform::installNew();
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("Pictro.conf")));
        settings->set(keys::scrollSpeed, 1.0); // the shortest wait, 0.32 s
        platform->fakeInput.onWheel = [this](int clicks) {
            page.turn(clicks);
            if (afterWheel) afterWheel(static_cast<int>(platform->fakeInput.wheelClicks.size()));
        };
    }
    void TearDown() override {
        if (ScrollingCapture* c = ScrollingCapture::active()) c->cancel();
        testsupport::waitUntil([] { return ScrollingCapture::active() == nullptr; });
        QApplication::processEvents();
    }

    // A screen of 800 × 600 points and a region of 300 × 400 points whose top-left corner is
    // (100, 100) from the screen's top-left corner.
    void setUpPage(double scale, int pageHeightPoints, int pixelsPerClick, int offset = 0) {
        page.platform = platform;
        page.screen = platform->fakeScreens.addScreen(QRectF(0, 0, 800, 600), scale);
        region = QRectF(100, 100, 300, 400);
        page.viewport = scrollregion::frameCutRect(region, scale, page.screen.pixelRect.height());
        page.page = randomRows(page.viewport.width(), static_cast<int>(pageHeightPoints * scale), 11);
        page.pixelsPerClick = pixelsPerClick;
        page.offset = offset < 0 ? page.lastOffset() : offset;
        page.render();
    }

    // Runs a capture to its end and returns what it delivered.
    std::optional<CapturedImage> capture(ScrollDirection direction) {
        bool done = false;
        std::optional<CapturedImage> delivered;
        int calls = 0;
        ScrollingCapture* c = ScrollingCapture::start(
            direction, page.screen, region,
            [&](const std::optional<CapturedImage>& image) {
                ++calls;
                delivered = image;
                done = true;
            },
            *settings);
        EXPECT_NE(c, nullptr);
        EXPECT_TRUE(testsupport::waitUntil([&] { return done; }, 30000));
        QApplication::processEvents();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(ScrollingCapture::active(), nullptr);
        return delivered;
    }

    QTemporaryDir dir;
    std::unique_ptr<Settings> settings;
    FakePlatform* platform = nullptr;
    FakePage page;
    QRectF region;
    std::function<void(int)> afterWheel; // called with the number of wheel turns so far
};

struct PageCase {
    const char* name;
    ScrollDirection direction;
    double scale;
    int pixelsPerClick;
};
class ScrollingThroughAPage : public ScrollingCaptureTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(ScrollingThroughAPage, StitchesThePageFromEndToEnd) {
    const PageCase& c = GetParam();
    // Scrolling up starts at the bottom of the page.
    setUpPage(c.scale, 1400, c.pixelsPerClick, c.direction == ScrollDirection::up ? -1 : 0);
    const auto result = capture(c.direction);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->scale, c.scale);
    EXPECT_EQ(rgb(result->image), page.page);

    // The pointer went to the region's centre; the first turn was one notch, the later ones as
    // many as make about 68 % of the region, never more.
    const auto& input = platform->fakeInput;
    ASSERT_FALSE(input.warps.empty());
    EXPECT_EQ(input.warps.front(), QPointF(250, 300));
    ASSERT_GE(input.wheelClicks.size(), 3u);
    const int sign = c.direction == ScrollDirection::down ? -1 : 1;
    EXPECT_EQ(input.wheelClicks[0], sign);
    const int wanted = static_cast<int>(272 * c.scale);
    EXPECT_EQ(input.wheelClicks[1], sign * (wanted / c.pixelsPerClick));
}
INSTANTIATE_TEST_SUITE_P(Pages, ScrollingThroughAPage,
                         ::testing::Values(PageCase{"down", ScrollDirection::down, 1.0, 37},
                                           PageCase{"up", ScrollDirection::up, 1.0, 37},
                                           PageCase{"downDoubleDensity", ScrollDirection::down, 2.0, 45},
                                           PageCase{"upDoubleDensity", ScrollDirection::up, 2.0, 23}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrollingCaptureTest, StopsAtTheFirstStepThatReachesTheHeightLimit) {
    settings->set(keys::scrollMaxHeight, 500); // counts as 1000 pixels
    setUpPage(1.0, 3000, 37);
    const auto result = capture(ScrollDirection::down);
    ASSERT_TRUE(result);
    const int height = result->image.height();
    EXPECT_GE(height, 1000);
    EXPECT_LT(height, 1000 + 7 * 37); // one step fewer would have stayed below the limit
    EXPECT_EQ(rgb(result->image), page.page.copy(0, 0, page.viewport.width(), height));
}

TEST_F(ScrollingCaptureTest, UnmatchableFramesStopWhenTheyRepeatTwice) {
    // 40 points high: too short to match, so each frame is taken whole until the content has
    // stood still for two steps.
    page.platform = platform;
    page.screen = platform->fakeScreens.addScreen(QRectF(0, 0, 800, 600), 1.0);
    region = QRectF(100, 100, 300, 40);
    page.viewport = scrollregion::frameCutRect(region, 1.0, 600);
    page.page = randomRows(300, 40, 5);
    page.render();
    const auto result = capture(ScrollDirection::down);
    ASSERT_TRUE(result);
    QImage twice(300, 80, QImage::Format_RGB32);
    QPainter painter(&twice);
    painter.drawImage(0, 0, page.page);
    painter.drawImage(0, 40, page.page);
    painter.end();
    EXPECT_EQ(rgb(result->image), twice);
    EXPECT_EQ(platform->fakeInput.wheelClicks.size(), 2u);
}

TEST_F(ScrollingCaptureTest, APageThatJumpsStopsTheCaptureWithWhatIsExact) {
    // After the second turn the application pages on by more than a frame: nothing of the frame
    // before is left to match, and taking the frame whole would leave a gap in the image.
    setUpPage(1.0, 3000, 37);
    afterWheel = [this](int turns) {
        if (turns != 2) return;
        page.offset = std::min(page.offset + page.viewport.height() + 150, page.lastOffset());
        page.render();
    };
    const auto result = capture(ScrollDirection::down);
    ASSERT_TRUE(result);
    const int height = result->image.height();
    EXPECT_LT(height, page.page.height());
    EXPECT_EQ(rgb(result->image), page.page.copy(0, 0, page.viewport.width(), height));
    ASSERT_NE(ToastHUD::current(), nullptr);
    EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("Scrolling stopped: the page jumped"));
    ToastHUD::dismiss();
}

TEST_F(ScrollingCaptureTest, AFailedScreenCaptureDeliversWhatWasStitched) {
    setUpPage(1.0, 1400, 37);
    afterWheel = [this](int turns) {
        if (turns == 2) platform->fakeCapture.allowed = false;
    };
    const auto result = capture(ScrollDirection::down);
    ASSERT_TRUE(result);
    // The first frame and the single notch's 37 rows.
    EXPECT_EQ(rgb(result->image), page.page.copy(0, 0, page.viewport.width(), 437));
}

// A window of this program that would take Esc if nothing stopped it.
class KeyCounter : public QWidget {
  public:
    int presses = 0;

  protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
};

struct StopCase {
    const char* name;
    quint32 keyCode;   // held anywhere, or
    int qtKey;         // pressed in one of this program's windows (0: held instead)
    size_t afterTurns; // pressed once this many wheel turns were posted
    int keptRows;      // of the page, from its top
};
class StopDuringCapture : public ScrollingCaptureTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopDuringCapture, KeepsWhatWasStitchedAndReleasesTheKeys) {
    const StopCase& c = GetParam();
    setUpPage(1.0, 3000, 37);
    KeyCounter own;
    bool heldWhileRunning = false;
    afterWheel = [&](int turns) {
        if (static_cast<size_t>(turns) != c.afterTurns) return;
        const auto& live = platform->fakeHotkeys.live;
        const auto held = [&](quint32 key, HotkeyService::Registration id) {
            return std::any_of(live.begin(), live.end(), [&](const FakeHotkeyService::Entry& e) {
                return e.keyCode == key && e.modifiers == 0 && e.id == id;
            });
        };
        heldWhileRunning = held(53, EscapeWatch::hotkey) && held(36, EscapeWatch::returnHotkey);
        if (c.qtKey == 0) {
            platform->fakeInput.keysDown.insert(c.keyCode);
        } else {
            QKeyEvent press(QEvent::KeyPress, c.qtKey, Qt::NoModifier);
            QApplication::sendEvent(&own, &press);
        }
    };
    const auto result = capture(ScrollDirection::down);
    platform->fakeInput.keysDown.clear();
    ASSERT_TRUE(result) << "a stopped capture goes on to result handling like any other";
    EXPECT_EQ(rgb(result->image), page.page.copy(0, 0, page.viewport.width(), c.keptRows));
    EXPECT_TRUE(heldWhileRunning);
    EXPECT_TRUE(platform->fakeHotkeys.live.empty());
    EXPECT_EQ(own.presses, 0);
    // The key is read between steps: the step under way ends its wait first, then nothing more.
    EXPECT_EQ(platform->fakeInput.wheelClicks.size(), c.afterTurns);
    // Once the capture is over, the key is an ordinary key again.
    QKeyEvent press(QEvent::KeyPress, c.qtKey ? c.qtKey : Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&own, &press);
    EXPECT_EQ(own.presses, 1);
}
// Two frames are the first 400 rows and the 37 the first notch brought in; stopped after the
// first frame, the capture keeps that frame alone.
INSTANTIATE_TEST_SUITE_P(Keys, StopDuringCapture,
                         ::testing::Values(StopCase{"EscHeldAnywhere", 53, 0, 2, 437},
                                           StopCase{"EscInOwnWindow", 0, Qt::Key_Escape, 2, 437},
                                           StopCase{"ReturnHeldAnywhere", 36, 0, 2, 437},
                                           StopCase{"KeypadEnterInOwnWindow", 0, Qt::Key_Enter, 2, 437},
                                           StopCase{"EscAfterTheFirstFrameKeepsIt", 53, 0, 1, 400}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrollingCaptureTest, BorderSurroundsTheRegionAndShowsTheProgressOutsideIt) {
    setUpPage(1.0, 3000, 37);
    ScrollingCapture* c = ScrollingCapture::start(
        ScrollDirection::down, page.screen, region, [](const std::optional<CapturedImage>&) {}, *settings);
    ASSERT_NE(c, nullptr);
    ScrollingBorder* border = c->borderWindow();
    ASSERT_NE(border, nullptr);
    EXPECT_TRUE(border->isVisible());

    // Qt's coordinates: the region's top-left corner lies at (100, 100) on this screen.
    const QRect regionQt(100, 100, 300, 400);
    const auto& layout = border->layout();
    EXPECT_TRUE(layout.hole.contains(regionQt));
    EXPECT_FALSE(border->mask().intersects(QRegion(regionQt.translated(-layout.window.topLeft()))));
    ASSERT_TRUE(layout.label);
    EXPECT_FALSE(layout.label->intersects(regionQt));

    ASSERT_TRUE(testsupport::waitUntil([&] { return platform->fakeInput.wheelClicks.size() >= 2; }, 10000));
    // After the first notch: the first frame's 400 points and the 37 rows it brought in.
    EXPECT_TRUE(testsupport::waitUntil(
        [&] { return border->progressText() == QStringLiteral("Scrolling… 437 pt (Esc to stop)"); }));
    // A long reading fits the label: none of it is cut off.
    const QLabel* label = border->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(scrollstep::progressText(40000, 1.0)), label->width());
    QPointer<ScrollingBorder> watched(border);
    c->cancel();
    ASSERT_TRUE(testsupport::waitUntil([] { return ScrollingCapture::active() == nullptr; }));
    EXPECT_TRUE(watched.isNull());
}

struct BeginCase {
    const char* name;
    bool overlayOpens;
    bool area;
    bool finishesAtOnce;
};
class BeginThroughTheOverlay : public ScrollingCaptureTest,
                               public ::testing::WithParamInterface<BeginCase> {};

TEST_P(BeginThroughTheOverlay, StartsOnlyForAnArea) {
    const BeginCase& c = GetParam();
    setUpPage(1.0, 1400, 37);
    std::vector<OverlayMode> asked;
    const auto overlay = [&](OverlayMode mode, OverlayCompletion completion) {
        asked.push_back(mode);
        if (!c.overlayOpens) return false;
        completion(c.area ? OverlayResult::area(page.screen, CapturedImage{}, region)
                          : OverlayResult::cancelled());
        return true;
    };
    int calls = 0;
    bool gotImage = false;
    const bool begun = ScrollingCapture::begin(
        ScrollDirection::down,
        [&](const std::optional<CapturedImage>& image) {
            ++calls;
            gotImage = image.has_value();
        },
        *settings, overlay);
    EXPECT_EQ(begun, c.overlayOpens);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked.front(), OverlayMode::area);
    EXPECT_EQ(calls, c.finishesAtOnce ? 1 : 0);
    EXPECT_EQ(ScrollingCapture::active() != nullptr, c.overlayOpens && c.area);
    if (ScrollingCapture::active()) {
        // While it runs, another begin does not even open a selection.
        EXPECT_FALSE(ScrollingCapture::begin(ScrollDirection::down, {}, *settings, overlay));
        EXPECT_EQ(asked.size(), 1u);
        ASSERT_TRUE(testsupport::waitUntil([&] { return calls == 1; }, 30000));
        EXPECT_TRUE(gotImage);
    }
}
INSTANTIATE_TEST_SUITE_P(Results, BeginThroughTheOverlay,
                         ::testing::Values(BeginCase{"area", true, true, false},
                                           BeginCase{"cancelled", true, false, true},
                                           BeginCase{"overlayBusy", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
