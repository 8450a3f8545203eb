#include "HudTestSupport.h"

#include "hud/ProgressToast.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "platform/fake/FakePlatform.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPromise>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using testsupport::waitUntil;

namespace {

class ToastHUDTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::confirmationStyle, QStringLiteral("custom"));
        platform = &hudtest::installOneScreen();
    }
    void TearDown() override { hudtest::clearHuds(); }

    // Shows a toast and waits for it to be on screen.
    ToastWindow* showAndWait(const QString& message, double duration = 5.0) {
        ToastHUD::show(message, QStringLiteral("checkmark.circle.fill"), duration);
        EXPECT_TRUE(
            waitUntil([&] { return ToastHUD::current() && ToastHUD::current()->message() == message; }));
        return ToastHUD::current();
    }

    int visibleToasts() const {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<ToastWindow*>(w) && w->isVisible()) ++n;
        return n;
    }

    Settings* settings = nullptr;
    FakePlatform* platform = nullptr;
};

} // namespace

TEST_F(ToastHUDTest, ShowIsDeferredToALaterTurnOfTheMainLoop) {
    ToastHUD::show(QStringLiteral("Copied to clipboard"), QStringLiteral("checkmark.circle.fill"), 2.2);
    EXPECT_EQ(ToastHUD::current(), nullptr);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() != nullptr; }));
    ToastWindow* toast = ToastHUD::current();
    EXPECT_TRUE(toast->isVisible());
    EXPECT_EQ(toast->message(), QStringLiteral("Copied to clipboard"));
    EXPECT_TRUE(toast->hasIcon());
    EXPECT_EQ(toast->windowTitle(), QStringLiteral("Pictro Toast"));
}

TEST_F(ToastHUDTest, NeverTakesFocusAndLetsInputThrough) {
    ToastWindow* toast = showAndWait(QStringLiteral("Saved"));
    ASSERT_NE(toast, nullptr);
    const Qt::WindowFlags flags = toast->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(toast->testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST_F(ToastHUDTest, SitsCentredSixtyPointsAboveTheBottomOfTheMainScreen) {
    ToastWindow* toast = showAndWait(QStringLiteral("Screenshot saved"));
    ASSERT_NE(toast, nullptr);
    // One 1440 × 900 screen whose visible frame starts 30 pt up: the toast's bottom edge is at
    // 900 − 30 − 60 = 810 in Qt's top-left coordinates.
    const QRect panel = toast->panelGeometry();
    EXPECT_EQ(panel.size(), toast->layout().size.toSize());
    EXPECT_NEAR(panel.x() + panel.width() / 2.0, 720.0, 0.5);
    EXPECT_EQ(panel.y() + panel.height(), 810);
}

TEST_F(ToastHUDTest, UsesTheMainScreenWhenThereAreTwo) {
    // Primary 1440 × 900 at scale 2, and a 1920 × 1080 screen to its right that is the main one.
    ScreenInfo& second = platform->fakeScreens.addScreen(QRectF(1440, -180, 1920, 1080), 1.0);
    second.visibleFrame = QRectF(1440, -180, 1920, 1050);
    platform->fakeScreens.main = second;
    ToastWindow* toast = showAndWait(QStringLiteral("On the main screen"));
    ASSERT_NE(toast, nullptr);
    const QRect panel = toast->panelGeometry();
    EXPECT_NEAR(panel.x() + panel.width() / 2.0, 1440 + 960.0, 0.5);
    // Bottom-left y of the toast: −180 + 60 = −120, which is 900 + 120 = 1020 in Qt's space.
    EXPECT_EQ(panel.y() + panel.height(), 1020);
}

TEST_F(ToastHUDTest, ASecondToastReplacesTheFirstAtOnce) {
    ToastHUD::show(QStringLiteral("first"), QStringLiteral("checkmark.circle.fill"), 5.0);
    ToastHUD::show(QStringLiteral("second"), QStringLiteral("checkmark.circle.fill"), 5.0);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() && ToastHUD::current()->message() == "second"; }));
    EXPECT_EQ(visibleToasts(), 1);

    QPointer<ToastWindow> second = ToastHUD::current();
    ToastHUD::show(QStringLiteral("third"), QStringLiteral("doc"), 5.0);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() && ToastHUD::current()->message() == "third"; }));
    // The replaced toast vanished without fading and is released.
    EXPECT_TRUE(!second || (!second->isVisible() && !second->isFading()));
    EXPECT_TRUE(waitUntil([&] { return second.isNull(); }));
    EXPECT_EQ(visibleToasts(), 1);
}

TEST_F(ToastHUDTest, FadesAfterItsDurationAndIsGoneAFadeLater) {
    QElapsedTimer clock;
    ToastWindow* shown = showAndWait(QStringLiteral("short"), 0.3);
    clock.start();
    ASSERT_NE(shown, nullptr);
    QPointer<ToastWindow> toast = shown;
    EXPECT_FALSE(toast->isFading());
    ASSERT_TRUE(waitUntil([&] { return toast && toast->isFading(); }, 2000));
    const qint64 fadeStart = clock.elapsed();
    EXPECT_GE(fadeStart, 280);
    EXPECT_TRUE(toast->isVisible());
    EXPECT_EQ(ToastHUD::current(), toast.data());
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() == nullptr; }, 2000));
    EXPECT_GE(clock.elapsed() - fadeStart, ToastWindow::fadeMilliseconds - 30);
    EXPECT_TRUE(!toast || !toast->isVisible());
}

TEST_F(ToastHUDTest, AnOldFadeFinishingDoesNotClearTheNewerToast) {
    QPointer<ToastWindow> old = showAndWait(QStringLiteral("old"), 0.05);
    ASSERT_TRUE(waitUntil([&] { return old && old->isFading(); }, 2000));
    ToastHUD::show(QStringLiteral("new"), QStringLiteral("checkmark.circle.fill"), 5.0);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() && ToastHUD::current()->message() == "new"; }));
    QPointer<ToastWindow> fresh = ToastHUD::current();
    // Well past the moment the old fade would have ended.
    QElapsedTimer t;
    t.start();
    waitUntil([&] { return t.elapsed() > ToastWindow::fadeMilliseconds + 150; });
    EXPECT_EQ(ToastHUD::current(), fresh.data());
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_FALSE(fresh->isFading());
    EXPECT_EQ(visibleToasts(), 1);
}

TEST_F(ToastHUDTest, ConfirmationStyleNoneShowsNothingAndLeavesTheCurrentToastAlone) {
    QPointer<ToastWindow> existing = showAndWait(QStringLiteral("before"));
    settings->set(keys::confirmationStyle, QStringLiteral("none"));
    ToastHUD::show(QStringLiteral("No text or QR found"), QStringLiteral("text.magnifyingglass"), 2.2);
    QElapsedTimer t;
    t.start();
    waitUntil([&] { return t.elapsed() > 150; });
    EXPECT_EQ(ToastHUD::current(), existing.data());
    EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("before"));
    EXPECT_TRUE(existing->isVisible());

    settings->set(keys::confirmationStyle, QStringLiteral("system"));
    showAndWait(QStringLiteral("after"));
    EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("after"));
}

TEST_F(ToastHUDTest, ShownFromAnotherThreadAppearsOnTheMainThread) {
    std::thread worker([] { ToastHUD::show(QStringLiteral("from a worker"), QStringLiteral("doc"), 2.2); });
    worker.join();
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() != nullptr; }));
    EXPECT_EQ(ToastHUD::current()->thread(), QApplication::instance()->thread());
    EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("from a worker"));
}

TEST_F(ToastHUDTest, UnknownSymbolStillShowsTheText) {
    ToastHUD::show(QStringLiteral("plain"), QStringLiteral("no.such.symbol"), 2.2);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() != nullptr; }));
    EXPECT_FALSE(ToastHUD::current()->hasIcon());
    EXPECT_EQ(ToastHUD::current()->layout().lines, QStringList{QStringLiteral("plain")});
}

TEST_F(ToastHUDTest, NoScreenShowsNothing) {
    platform->fakeScreens.screenList.clear();
    ToastHUD::show(QStringLiteral("nowhere"), QStringLiteral("doc"), 2.2);
    QElapsedTimer t;
    t.start();
    waitUntil([&] { return t.elapsed() > 100; });
    EXPECT_EQ(ToastHUD::current(), nullptr);
    EXPECT_EQ(visibleToasts(), 0);
}

TEST(ToastRendering, DrawsADarkRoundedPanelWithWhiteTextAndClearCorners) {
    ScreenInfo screen;
    screen.frame = screen.visibleFrame = QRectF(0, 0, 800, 600);
    std::unique_ptr<ToastWindow> toast(
        ToastHUD::build(QStringLiteral("Copied to clipboard"), QStringLiteral("checkmark.circle.fill"),
                        screen, geometry::SpaceConverter(QRectF(0, 0, 800, 600)), true));
    QImage image(toast->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    toast->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const int m = toast->shadowMargin();
    const QRect panel(m, m, toast->width() - 2 * m, toast->height() - 2 * m);

    // The very corner of the panel is outside its rounded shape, its middle row is dark.
    EXPECT_LT(qAlpha(image.pixel(panel.topLeft())), 100);
    const QColor inside = image.pixelColor(panel.left() + 4, panel.center().y());
    EXPECT_GT(inside.alpha(), 150);
    EXPECT_LT(inside.lightness(), 60);
    // Somewhere in the text box there are near-white glyph pixels, and in the icon too.
    auto hasWhite = [&](const QRectF& box) {
        const QRect r = box.translated(m, m).toAlignedRect() & image.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (image.pixelColor(x, y).lightness() > 200) return true;
        return false;
    };
    EXPECT_TRUE(hasWhite(toast->layout().textRect));
    EXPECT_TRUE(hasWhite(toast->layout().iconRect));
}

TEST_F(ToastHUDTest, SlowWorkSaysItIsUnderWayUntilItsResultReplacesIt) {
    QPromise<int> slow;
    slow.start();
    QElapsedTimer clock;
    clock.start();
    progresstoast::showWhileRunning(slow.future(), QStringLiteral("Reading text…"),
                                    QStringLiteral("text.viewfinder"));
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() != nullptr; }, 3000));
    EXPECT_GE(clock.elapsed(), progresstoast::defaultDelayMilliseconds);
    EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("Reading text…"));
    slow.finish();
    showAndWait(QStringLiteral("Text copied (5 chars)"));
    EXPECT_EQ(visibleToasts(), 1);
}

TEST_F(ToastHUDTest, QuickWorkShowsNoProgress) {
    QPromise<int> quick;
    quick.start();
    progresstoast::showWhileRunning(quick.future(), QStringLiteral("Reading text…"),
                                    QStringLiteral("text.viewfinder"));
    quick.finish();
    QTest::qWait(progresstoast::defaultDelayMilliseconds + 200);
    EXPECT_EQ(ToastHUD::current(), nullptr);
}
