// The selection overlay on a real X server with a window manager, driven by real input (XTest
// through xdotool).
#include "capture/CaptureEngine.h"
#include "overlay/OverlayWindow.h"
#include "overlay/SelectionOverlay.h"
#include "support/TestSupport.h"
#include "support/x11/TestWindow.h"
#include "support/x11/X11TestSupport.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

bool xdotool(const QStringList& args) {
    return x11test::xdotoolSucceeds(args);
}

class OverlayOnX11 : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { x11test::installX11Platform(); }

    void TearDown() override {
        if (SelectionOverlay* overlay = SelectionOverlay::current())
            overlay->finish(OverlayResult::cancelled());
        QApplication::processEvents();
    }

    // Starts an overlay and waits until every window is mapped and exposed.
    bool beginAndWait(OverlayMode mode) {
        SelectionOverlay::begin(mode, [this](const OverlayResult& r) { results.push_back(r); });
        return testsupport::waitUntil([] {
            SelectionOverlay* o = SelectionOverlay::current();
            if (!o || o->windows().empty()) return false;
            for (OverlayWindow* w : o->windows())
                if (!w->isExposed()) return false;
            return true;
        });
    }

    std::vector<OverlayResult> results;
};

TEST_F(OverlayOnX11, DraggedAreaComesBackInBottomLeftPointsWithTheScreensPixels) {
    ASSERT_TRUE(xdotool({"mousemove", "960", "540"}));
    ASSERT_TRUE(beginAndWait(OverlayMode::area));
    ASSERT_TRUE(xdotool({"mousemove", "100", "100", "mousedown", "1", "mousemove", "200", "180", "mousemove",
                         "300", "250", "mouseup", "1"}));
    ASSERT_TRUE(testsupport::waitUntil([this] { return !results.empty(); }));
    ASSERT_EQ(results.size(), 1u);
    const OverlayResult& r = results.front();
    ASSERT_EQ(r.kind, OverlayResult::Kind::area);
    EXPECT_EQ(r.rect, QRectF(100, 1080 - 250, 200, 150));
    EXPECT_EQ(r.frozen.image.size(), QSize(1920, 1080));
    QApplication::processEvents();
    EXPECT_EQ(SelectionOverlay::current(), nullptr);

    // What was frozen is the screen without the overlay: the root now shows the same pixels.
    auto now = CaptureEngine::captureDisplay(r.screen);
    now.waitForFinished();
    ASSERT_TRUE(now.result().ok());
    const QRect cut(100, 100, 200, 150);
    EXPECT_EQ(now.result().image().image.copy(cut).convertToFormat(QImage::Format_RGB32),
              r.frozen.image.copy(cut).convertToFormat(QImage::Format_RGB32));
}

TEST_F(OverlayOnX11, EscWorksAtOnceWhileAnotherWindowHasTheFocus) {
    QWidget other;
    other.setWindowTitle(QStringLiteral("Focused elsewhere"));
    other.setGeometry(200, 200, 400, 300);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(testsupport::waitUntil([&] { return other.isActiveWindow(); }));

    ASSERT_TRUE(beginAndWait(OverlayMode::area));
    ASSERT_TRUE(xdotool({"key", "a", "key", "Escape"}));
    ASSERT_TRUE(testsupport::waitUntil([this] { return !results.empty(); }));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results.front().kind, OverlayResult::Kind::cancelled);
    QApplication::processEvents();
    EXPECT_EQ(SelectionOverlay::current(), nullptr);
}

TEST_F(OverlayOnX11, ClickedWindowOfAnotherProgramIsPicked) {
    TestWindow other({"--pos", "500,400", "--size", "300x120", "--title", "Pick Me"});
    ASSERT_NE(other.id(), 0u);
    ASSERT_TRUE(testsupport::waitUntil([] {
        for (const WindowInfo& w : CaptureEngine::onScreenWindows())
            if (w.title == QLatin1String("Pick Me")) return true;
        return false;
    }));
    ASSERT_TRUE(beginAndWait(OverlayMode::windowPick));
    ASSERT_TRUE(xdotool({"mousemove", "600", "450", "click", "1"}));
    ASSERT_TRUE(testsupport::waitUntil([this] { return !results.empty(); }));
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results.front().kind, OverlayResult::Kind::window);
    EXPECT_EQ(results.front().window.title, QStringLiteral("Pick Me"));
    EXPECT_EQ(results.front().window.windowID, other.id());
}

} // namespace
