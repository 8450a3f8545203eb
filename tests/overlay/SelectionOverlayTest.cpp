#include "overlay/SelectionOverlay.h"
#include "overlay/OverlayWindow.h"
#include "overlay/SelectionOverlayView.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage solidScreen(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), colour);
    painter.fillRect(QRect(0, 0, 40, 40), Qt::red); // marks the top-left corner
    return image;
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Drag with the left button in widget coordinates (top-left origin).
void drag(QWidget* view, const QPoint& from, const QPoint& to) {
    sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void hoverAndClick(QWidget* view, const QPoint& at) {
    sendMouse(view, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    sendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

class SelectionOverlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform = &FakePlatform::installNew();
        const ScreenInfo& s = platform->fakeScreens.addScreen(QRectF(0, 0, 800, 600), 2.0);
        platform->fakeCapture.setDisplayPixels(s.displayId, solidScreen(QSize(1600, 1200), Qt::darkCyan));
        platform->fakeScreens.mouse = QPointF(400, 300);
        SelectionOverlay::setCaptureErrorHandler({});
    }
    void TearDown() override {
        if (SelectionOverlay* overlay = SelectionOverlay::current())
            overlay->finish(OverlayResult::cancelled());
        SelectionOverlay::setCaptureErrorHandler({});
        QApplication::processEvents();
    }

    void begin(OverlayMode mode) {
        SelectionOverlay::begin(mode, [this](const OverlayResult& r) { results.push_back(r); });
    }

    // The view of the first screen once every window is exposed; nullptr when none came up.
    SelectionOverlayView* shownView() {
        const bool up = testsupport::waitUntil([] {
            SelectionOverlay* o = SelectionOverlay::current();
            if (!o || o->windows().empty()) return false;
            for (OverlayWindow* w : o->windows())
                if (!w->isExposed()) return false;
            return true;
        });
        return up ? SelectionOverlay::current()->windows().front()->view() : nullptr;
    }

    int visibleTopLevels() const {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible() ? 1 : 0;
        return n;
    }

    FakePlatform* platform = nullptr;
    std::vector<OverlayResult> results;
};

TEST_F(SelectionOverlayTest, AreaDragYieldsTheRectangleInBottomLeftPoints) {
    begin(OverlayMode::area);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    OverlayWindow* window = SelectionOverlay::current()->windows().front();
    EXPECT_EQ(window->geometry(), QRect(0, 0, 800, 600));
    EXPECT_TRUE(window->windowFlags() & Qt::X11BypassWindowManagerHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pictro Selection"));

    // Dragged from bottom-right to top-left in widget coordinates: (300, 400) → (100, 150).
    drag(view, QPoint(300, 400), QPoint(100, 150));
    ASSERT_EQ(results.size(), 1u);
    const OverlayResult& r = results.front();
    ASSERT_EQ(r.kind, OverlayResult::Kind::area);
    EXPECT_EQ(r.rect, QRectF(100, 200, 200, 250));
    EXPECT_EQ(r.frozen.image.size(), QSize(1600, 1200));
    EXPECT_EQ(r.frozen.scale, 2.0);
    EXPECT_EQ(r.screen.frame, QRectF(0, 0, 800, 600));
    EXPECT_EQ(SelectionOverlay::current(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(visibleTopLevels(), 0);
}

struct CancelCase {
    const char* name;
    QPoint from;
    QPoint to;
};
class AreaCancels : public SelectionOverlayTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(AreaCancels, ClicksAndSliversCancel) {
    begin(OverlayMode::area);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    drag(view, GetParam().from, GetParam().to);
    ASSERT_EQ(results.size(), 1u) << GetParam().name;
    EXPECT_EQ(results.front().kind, OverlayResult::Kind::cancelled) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Cases, AreaCancels,
                         ::testing::Values(CancelCase{"click", {200, 200}, {200, 200}},
                                           CancelCase{"three wide", {200, 200}, {203, 250}},
                                           CancelCase{"three high", {200, 200}, {260, 197}},
                                           CancelCase{"three by three", {200, 200}, {197, 203}}),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(SelectionOverlayTest, FourByFourIsEnough) {
    begin(OverlayMode::area);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    drag(view, QPoint(10, 596), QPoint(14, 592));
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results.front().kind, OverlayResult::Kind::area);
    EXPECT_EQ(results.front().rect, QRectF(10, 4, 4, 4));
}

TEST_F(SelectionOverlayTest, EscCancelsOnceAndOtherKeysDoNothing) {
    begin(OverlayMode::area);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    QTest::keyClick(view, Qt::Key_A);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(results.empty());
    EXPECT_NE(SelectionOverlay::current(), nullptr);
    QTest::keyClick(view, Qt::Key_Escape);
    QTest::keyClick(view, Qt::Key_Escape);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results.front().kind, OverlayResult::Kind::cancelled);
}

TEST_F(SelectionOverlayTest, SecondBeginWhileActiveIsDropped) {
    int dropped = 0;
    begin(OverlayMode::area);
    SelectionOverlay::begin(OverlayMode::windowPick, [&](const OverlayResult&) { ++dropped; });
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->mode(), OverlayMode::area);
    EXPECT_EQ(SelectionOverlay::current()->windows().size(), 1u);
    QTest::keyClick(view, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(results.size(), 1u);
    EXPECT_EQ(dropped, 0);
}

TEST_F(SelectionOverlayTest, CaptureFailureCancelsBeforeTheErrorIsReported) {
    platform->fakeCapture.allowed = false;
    std::vector<std::string> order;
    SelectionOverlay::setCaptureErrorHandler([&](CaptureError e) {
        order.push_back("error");
        EXPECT_EQ(e, CaptureError::permission);
    });
    SelectionOverlay::begin(OverlayMode::area, [&](const OverlayResult& r) {
        order.push_back("completion");
        EXPECT_EQ(r.kind, OverlayResult::Kind::cancelled);
    });
    ASSERT_TRUE(testsupport::waitUntil([] { return SelectionOverlay::current() == nullptr; }));
    EXPECT_EQ(order, (std::vector<std::string>{"completion", "error"}));
    QApplication::processEvents();
    EXPECT_EQ(visibleTopLevels(), 0);
}

TEST_F(SelectionOverlayTest, EveryScreenGetsAWindowAndAFrozenPicture) {
    const ScreenInfo& second = platform->fakeScreens.addScreen(QRectF(800, 0, 640, 480), 1.0);
    platform->fakeCapture.setDisplayPixels(second.displayId, solidScreen(QSize(640, 480), Qt::yellow));
    begin(OverlayMode::area);
    ASSERT_NE(shownView(), nullptr);
    const auto& windows = SelectionOverlay::current()->windows();
    ASSERT_EQ(windows.size(), 2u);
    // Qt's y of a bottom-aligned 480-high screen next to a 600-high one is 120.
    EXPECT_EQ(windows[1]->geometry(), QRect(800, 120, 640, 480));
    drag(windows[1]->view(), QPoint(10, 10), QPoint(110, 60));
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results.front().kind, OverlayResult::Kind::area);
    EXPECT_EQ(results.front().screen.displayId, second.displayId);
    EXPECT_EQ(results.front().frozen.image.size(), QSize(640, 480));
    EXPECT_EQ(results.front().rect, QRectF(10, 420, 100, 50));
}

class WindowPick : public SelectionOverlayTest {
  protected:
    void SetUp() override {
        SelectionOverlayTest::SetUp();
        // Front to back, top-left space: a small window over a large one.
        platform->fakeWindows.addWindow(11, QRectF(100, 100, 200, 150), 77, QStringLiteral("Front"),
                                        QStringLiteral("Alpha"));
        platform->fakeWindows.addWindow(12, QRectF(50, 50, 500, 400), 78, QString(), QStringLiteral("Beta"));
    }
};

TEST_F(WindowPick, ClickPicksTheFrontmostWindowUnderThePointer) {
    begin(OverlayMode::windowPick);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    sendMouse(view, QEvent::MouseMove, QPoint(150, 150), Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(view->hoverWindow().has_value());
    EXPECT_EQ(view->hoverWindow()->windowID, 11u);
    EXPECT_EQ(view->hoveredWindowRect(), QRectF(100, 350, 200, 150));
    hoverAndClick(view, QPoint(500, 150));
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results.front().kind, OverlayResult::Kind::window);
    EXPECT_EQ(results.front().window.windowID, 12u);
    EXPECT_EQ(results.front().window.ownerName, QStringLiteral("Beta"));
}

TEST_F(WindowPick, ClickOnTheDesktopCancels) {
    begin(OverlayMode::windowPick);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    hoverAndClick(view, QPoint(700, 550));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results.front().kind, OverlayResult::Kind::cancelled);
}

TEST_F(WindowPick, FrozenPictureOnlyWithoutCompositing) {
    platform->fakeWindows.compositing = true;
    const int before = platform->fakeCapture.captureCount();
    begin(OverlayMode::windowPick);
    ASSERT_NE(shownView(), nullptr);
    EXPECT_EQ(platform->fakeCapture.captureCount(), before);
    EXPECT_TRUE(SelectionOverlay::current()->windows().front()->testAttribute(Qt::WA_TranslucentBackground));
    QTest::keyClick(SelectionOverlay::current()->windows().front()->view(), Qt::Key_Escape);
    QApplication::processEvents();

    platform->fakeWindows.compositing = false;
    begin(OverlayMode::windowPick);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(platform->fakeCapture.captureCount(), before + 1);
    // The frozen picture shows under the dimming: the red corner mark darkened by 0.25 black.
    const QImage shot = view->grab().toImage();
    const QColor corner = shot.pixelColor(5, 5);
    EXPECT_NEAR(corner.red(), 191, 3);
    EXPECT_NEAR(corner.green(), 0, 3);
}

TEST_F(SelectionOverlayTest, DrawsTheHoleBorderAndDimming) {
    begin(OverlayMode::area);
    SelectionOverlayView* view = shownView();
    ASSERT_NE(view, nullptr);
    sendMouse(view, QEvent::MouseButtonPress, QPoint(200, 200), Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, QPoint(400, 350), Qt::NoButton, Qt::LeftButton);
    const QImage shot = view->grab().toImage();
    const QColor inside = shot.pixelColor(300, 250);
    const QColor outside = shot.pixelColor(600, 500);
    // darkCyan (0, 128, 128): undimmed inside the hole, 0.4 black outside.
    EXPECT_NEAR(inside.green(), 128, 2);
    EXPECT_NEAR(outside.green(), 77, 3);
    // The accent border lies just outside the selection.
    const QColor accent = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    const QColor border = shot.pixelColor(199, 250);
    EXPECT_NEAR(border.red(), accent.red(), 40);
    EXPECT_NEAR(border.blue(), accent.blue(), 40);
    EXPECT_TRUE(results.empty());
}

} // namespace
