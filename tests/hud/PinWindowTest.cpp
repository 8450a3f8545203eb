#include "HudTestSupport.h"

#include "hud/PinWindow.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "platform/fake/FakePlatform.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

using testsupport::waitUntil;

namespace {

// Left half red, right half blue, so stretching and clipping show in the painted pixels.
CapturedImage halves(int pixelWidth, int pixelHeight, double scale) {
    QImage image(pixelWidth, pixelHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.fillRect(0, 0, pixelWidth / 2, pixelHeight, QColor(220, 30, 30));
    p.fillRect(pixelWidth / 2, 0, pixelWidth - pixelWidth / 2, pixelHeight, QColor(30, 30, 220));
    p.end();
    return CapturedImage{image, scale};
}

void wheel(QWidget* w, QPoint pixelDelta, QPoint angleDelta) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent event(at, w->mapToGlobal(at), pixelDelta, angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

// The pointer at a global position, as the window sees it where it is now.
void mouse(QWidget* w, QEvent::Type type, QPointF global, Qt::MouseButtons held) {
    const QPointF local = w->mapFromGlobal(global);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

bool contains(const std::vector<PinWindow*>& pins, const PinWindow* pin) {
    return std::find(pins.begin(), pins.end(), pin) != pins.end();
}

class PinWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::zoomReverseScroll, false);
        platform = &hudtest::installOneScreen(); // 1440 × 900, visible frame from y 30 up
    }
    void TearDown() override {
        const std::vector<PinWindow*> open = PinWindow::pins();
        for (PinWindow* pin : open)
            pin->close();
        hudtest::clearHuds();
        settings->remove(keys::zoomReverseScroll);
    }

    Settings* settings = nullptr;
    FakePlatform* platform = nullptr;
};

TEST_F(PinWindowTest, OpensAtPointSizeCentredOnTheVisibleFrameWithoutTakingFocus) {
    PinWindow* pin = PinWindow::pin(halves(1600, 1000, 2.0));
    ASSERT_TRUE(contains(PinWindow::pins(), pin));
    EXPECT_TRUE(pin->isVisible());
    EXPECT_DOUBLE_EQ(pin->scaleFactor(), 1.0);
    // Centre of the visible frame is (720, 465) bottom-left, so y 435 from the top of the screen.
    EXPECT_EQ(pin->geometry(), QRect(320, 185, 800, 500));
    EXPECT_NE(QApplication::activeWindow(), pin);

    const Qt::WindowFlags flags = pin->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    // The window manager never hands it the keys; a click takes them (see the X11 test).
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_NE(pin->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(pin->testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST_F(PinWindowTest, CentresOnTheMainScreenNotTheFirst) {
    // A second screen to the right of the first, 1000 × 800 with a 40-point panel at its top.
    ScreenInfo& side = platform->fakeScreens.addScreen(QRectF(1440, 0, 1000, 800), 1.0);
    side.visibleFrame = QRectF(1440, 0, 1000, 760);
    platform->fakeScreens.main = side;
    PinWindow* pin = PinWindow::pin(halves(400, 200, 1.0));
    // Centre (1940, 380) bottom-left is y 520 from the top of the primary screen.
    EXPECT_EQ(pin->geometry(), QRect(1740, 420, 400, 200));
}

class PinNearTest : public PinWindowTest, public ::testing::WithParamInterface<QPointF> {};

TEST_P(PinNearTest, GivenPointIsTheBottomLeftCorner) {
    const QPointF near = GetParam();
    PinWindow* pin = PinWindow::pin(halves(600, 400, 2.0), near);
    EXPECT_EQ(pin->size(), QSize(300, 200));
    EXPECT_EQ(pin->x(), qRound(near.x()));
    // Qt's bottom edge is the screen height (900) less the point's height above the bottom.
    EXPECT_EQ(pin->geometry().y() + pin->height(), qRound(900 - near.y()));
    EXPECT_EQ(pin->frame().topLeft(), near);
}

INSTANTIATE_TEST_SUITE_P(Corners, PinNearTest,
                         ::testing::Values(QPointF(100, 200), QPointF(0, 0), QPointF(1140, 700),
                                           QPointF(-500, 40)));

TEST_F(PinWindowTest, ZoomStopsAtFourAndAFifthAboutAFixedCentre) {
    PinWindow* pin = PinWindow::pin(halves(1600, 1000, 2.0));
    const QPointF centre = pin->frame().center();
    for (int i = 0; i < 40; ++i)
        wheel(pin, QPoint(0, 30), QPoint(0, 120));
    EXPECT_DOUBLE_EQ(pin->scaleFactor(), 4.0);
    EXPECT_EQ(pin->size(), QSize(3200, 2000));
    EXPECT_EQ(pin->frame().center(), centre);
    EXPECT_LE((QRectF(pin->geometry()).center() - QPointF(720, 435)).manhattanLength(), 1.0);

    for (int i = 0; i < 60; ++i)
        wheel(pin, QPoint(0, -30), QPoint(0, -120));
    EXPECT_DOUBLE_EQ(pin->scaleFactor(), 0.2);
    EXPECT_EQ(pin->size(), QSize(160, 100));
    EXPECT_EQ(pin->frame().center(), centre);
    EXPECT_EQ(pin->geometry(), QRect(640, 385, 160, 100));
}

struct WheelCase {
    const char* name;
    QPoint pixel;
    QPoint angle;
    bool reverse;
    QSize size;
};

class PinWheelTest : public PinWindowTest, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(PinWheelTest, OneEventIsOneStep) {
    const WheelCase& c = GetParam();
    settings->set(keys::zoomReverseScroll, c.reverse);
    PinWindow* pin = PinWindow::pin(halves(1600, 1000, 2.0));
    wheel(pin, c.pixel, c.angle);
    EXPECT_EQ(pin->size(), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Deltas, PinWheelTest,
    ::testing::Values(WheelCase{"preciseUp", QPoint(0, 20), QPoint(0, 90), false, QSize(880, 550)},
                      WheelCase{"preciseDown", QPoint(0, -20), QPoint(0, -90), false, QSize(720, 450)},
                      WheelCase{"preciseUpReversed", QPoint(0, 20), QPoint(0, 90), true, QSize(720, 450)},
                      WheelCase{"notchUp", QPoint(), QPoint(0, 120), false, QSize(880, 550)},
                      WheelCase{"notchUpReversed", QPoint(), QPoint(0, 120), true, QSize(720, 450)},
                      WheelCase{"sideways", QPoint(), QPoint(120, 0), false, QSize(800, 500)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PinWindowTest, DraggingMovesTheWindowAndZoomFollowsTheNewCentre) {
    PinWindow* pin = PinWindow::pin(halves(600, 400, 2.0), QPointF(100, 200));
    const QPoint start = pin->pos();
    const QPointF grab = QPointF(start) + QPointF(20, 20);
    mouse(pin, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    mouse(pin, QEvent::MouseMove, grab + QPointF(20, 10), Qt::LeftButton);
    mouse(pin, QEvent::MouseMove, grab + QPointF(50, 30), Qt::LeftButton);
    mouse(pin, QEvent::MouseButtonRelease, grab + QPointF(50, 30), Qt::NoButton);
    EXPECT_EQ(pin->pos(), start + QPoint(50, 30));
    // 30 points down in Qt is 30 points lower in the bottom-left space.
    EXPECT_EQ(pin->frame().topLeft(), QPointF(150, 170));

    // Moving without the button held after the release changes nothing.
    mouse(pin, QEvent::MouseMove, grab + QPointF(200, 200), Qt::NoButton);
    EXPECT_EQ(pin->pos(), start + QPoint(50, 30));

    const QPointF centre = pin->frame().center();
    wheel(pin, QPoint(0, 20), QPoint());
    EXPECT_EQ(pin->frame().center(), centre);
}

struct KeyCase {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    bool copies;
};

class PinCopyKeyTest : public PinWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(PinCopyKeyTest, CtrlWithTheCKeyCopies) {
    const KeyCase& c = GetParam();
    const CapturedImage image = halves(1600, 1000, 2.0);
    PinWindow* pin = PinWindow::pin(image);
    QTest::keyClick(pin, Qt::Key_C, c.modifiers);
    QCoreApplication::processEvents(); // the toast is shown on a later turn
    EXPECT_TRUE(contains(PinWindow::pins(), pin));
    EXPECT_TRUE(pin->isVisible());
    if (!c.copies) {
        EXPECT_TRUE(platform->fakePasteboard.operations.empty());
        EXPECT_EQ(ToastHUD::current(), nullptr);
        return;
    }
    ASSERT_FALSE(platform->fakePasteboard.png.isEmpty());
    EXPECT_EQ(platform->fakePasteboard.image.size(), image.image.size());
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() != nullptr; }));
    EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("Copied to clipboard"));
    EXPECT_EQ(ToastHUD::current()->symbol(), QStringLiteral("checkmark.circle.fill"));
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, PinCopyKeyTest,
    ::testing::Values(KeyCase{"ctrl", Qt::ControlModifier, true},
                      KeyCase{"ctrlShift", Qt::ControlModifier | Qt::ShiftModifier, true},
                      KeyCase{"ctrlAlt", Qt::ControlModifier | Qt::AltModifier, true},
                      KeyCase{"plain", Qt::NoModifier, false}, KeyCase{"shift", Qt::ShiftModifier, false},
                      KeyCase{"alt", Qt::AltModifier, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PinWindowTest, DoubleClickClosesOnlyThatPin) {
    QPointer<PinWindow> first = PinWindow::pin(halves(400, 300, 1.0), QPointF(100, 100));
    QPointer<PinWindow> second = PinWindow::pin(halves(400, 300, 1.0), QPointF(600, 100));
    QTest::mouseDClick(first.data(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_FALSE(contains(PinWindow::pins(), first.data()));
    EXPECT_TRUE(contains(PinWindow::pins(), second.data()));
    EXPECT_EQ(PinWindow::pins().size(), 1u);
    ASSERT_TRUE(waitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return first.isNull();
    }));
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());

    // A single click neither closes nor moves.
    const QPoint at = second->pos();
    QTest::mouseClick(second.data(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_TRUE(contains(PinWindow::pins(), second.data()));
    EXPECT_EQ(second->pos(), at);
}

TEST_F(PinWindowTest, EscapeAndCloseTakeThePinOutOfTheRegistry) {
    QPointer<PinWindow> byKey = PinWindow::pin(halves(400, 300, 1.0));
    QPointer<PinWindow> byCall = PinWindow::pin(halves(400, 300, 1.0));
    QTest::keyClick(byKey.data(), Qt::Key_Escape);
    EXPECT_FALSE(contains(PinWindow::pins(), byKey.data()));
    EXPECT_FALSE(byKey->isVisible());
    byCall->close();
    EXPECT_TRUE(PinWindow::pins().empty());
    ASSERT_TRUE(waitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return byKey.isNull() && byCall.isNull();
    }));
}

struct PaintCase {
    const char* name;
    int wheelDelta; // four steps of this many points
    QSize size;
};

class PinPaintTest : public PinWindowTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(PinPaintTest, ImageFillsTheWindowInsideAnOutlineSeenOnAnyBackground) {
    const PaintCase& c = GetParam();
    PinWindow* pin = PinWindow::pin(halves(400, 200, 2.0), QPointF(100, 100));
    for (int i = 0; i < 4; ++i)
        wheel(pin, QPoint(0, c.wheelDelta), QPoint());
    const QSize size = pin->size();
    ASSERT_EQ(size, c.size);
    QImage shot(size, QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    pin->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);

    const int midY = size.height() / 2;
    // Both halves fill their half of the zoomed window.
    EXPECT_EQ(shot.pixelColor(size.width() / 4, midY), QColor(220, 30, 30));
    EXPECT_EQ(shot.pixelColor(size.width() * 3 / 4, midY), QColor(30, 30, 220));
    EXPECT_EQ(shot.pixelColor(size.width() - 3, midY), QColor(30, 30, 220));
    // The corner is cut away by the 4-point radius.
    EXPECT_EQ(shot.pixelColor(0, 0).alpha(), 0);
    EXPECT_GT(shot.pixelColor(4, 4).alpha(), 250);
    // Without a compositing manager there is no shadow: a dark outer and a light inner line make
    // the edge show on any background, a white window under a white image included.
    const QColor outer = shot.pixelColor(size.width() / 4, 0), inner = shot.pixelColor(size.width() / 4, 1);
    EXPECT_LT(std::max({outer.red(), outer.green(), outer.blue()}), 90);
    EXPECT_GT(std::min({inner.red(), inner.green(), inner.blue()}), 190);
    EXPECT_EQ(shot.pixelColor(size.width() / 4, 2), QColor(220, 30, 30));
}

// 200 × 100 pt zoomed by 1.25⁴ ≈ 2.44 (drawn from the original) and by 0.75⁴ ≈ 0.32 (from a
// smooth reduction).
INSTANTIATE_TEST_SUITE_P(Zooms, PinPaintTest,
                         ::testing::Values(PaintCase{"enlarged", 50, QSize(489, 245)},
                                           PaintCase{"reduced", -50, QSize(64, 32)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PinWindowTest, RefusesToPinOffTheMainThread) {
    std::optional<PinWindow*> made;
    std::thread worker([&] { made = PinWindow::pin(halves(40, 20, 1.0)); });
    worker.join();
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(*made, nullptr);
    EXPECT_TRUE(PinWindow::pins().empty());
}

} // namespace
