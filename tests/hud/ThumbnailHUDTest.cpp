#include "HudTestSupport.h"

#include "hud/HudCloseButton.h"
#include "hud/ThumbnailHUD.h"
#include "hud/ThumbnailView.h"
#include "platform/fake/FakePlatform.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using testsupport::waitUntil;

namespace {

CapturedImage makeCapture(int pixelWidth, int pixelHeight, double scale,
                          QColor color = QColor(40, 160, 220)) {
    return testsupport::solidCapture(QSize(pixelWidth, pixelHeight), color, scale,
                                     QImage::Format_ARGB32_Premultiplied);
}

void hover(QWidget* view) {
    const QPointF at(view->width() / 2.0, view->height() / 2.0);
    QEnterEvent enter(at, at, view->mapToGlobal(at));
    QApplication::sendEvent(view, &enter);
}

void unhover(QWidget* view) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view, &leave);
}

class ThumbnailHUDTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::hidePreviewMode, QStringLiteral("manual"));
        platform = &hudtest::installOneScreen();
    }
    void TearDown() override { hudtest::clearHuds(); }

    ThumbnailView* showAndWait(const CapturedImage& image) {
        ThumbnailHUD::show(image, [this](const CapturedImage& opened) {
            ++openCount;
            lastOpened = opened;
        });
        EXPECT_TRUE(waitUntil([&] {
            return ThumbnailHUD::current() &&
                   ThumbnailHUD::current()->image().image.cacheKey() == image.image.cacheKey();
        }));
        return ThumbnailHUD::current();
    }

    Settings* settings = nullptr;
    FakePlatform* platform = nullptr;
    int openCount = 0;
    CapturedImage lastOpened;
};

} // namespace

TEST_F(ThumbnailHUDTest, SitsInTheBottomRightCornerSizedByTheWidthRule) {
    // 2880 × 1800 px at scale 2 is 1440 × 900 pt: 260 × 162.5 pt, which the window rounds up.
    ThumbnailView* view = showAndWait(makeCapture(2880, 1800, 2.0));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Pictro Thumbnail"));
    const QRect g = view->geometry();
    EXPECT_EQ(g.size(), QSize(260, 163));
    // Visible frame (0, 30, 1440, 870): right edge 1420, bottom edge 900 − 30 − 20 = 850.
    EXPECT_EQ(g.x() + g.width(), 1420);
    EXPECT_EQ(g.y() + g.height(), 850);
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowTransparentForInput));
}

TEST_F(ThumbnailHUDTest, AFlatStripIsLetterboxedInTheMinimumHeight) {
    ThumbnailView* view = showAndWait(makeCapture(1000, 20, 1.0, QColor(250, 200, 0)));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->size(), QSize(260, 40));
    const QRectF image = view->imageRect();
    EXPECT_DOUBLE_EQ(image.width(), 260.0);
    EXPECT_DOUBLE_EQ(image.height(), 5.2);
    EXPECT_DOUBLE_EQ(image.center().y(), 20.0);

    QImage shot(view->size(), QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    view->render(&shot);
    const QColor middle = shot.pixelColor(130, 20);
    EXPECT_GT(middle.red(), 200);
    EXPECT_GT(middle.green(), 150);
    const QColor bar = shot.pixelColor(130, 8); // above the image: the dark backdrop
    EXPECT_LT(bar.lightness(), 60);
}

TEST_F(ThumbnailHUDTest, SmallImageIsNotEnlarged) {
    ThumbnailView* view = showAndWait(makeCapture(200, 100, 2.0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->size(), QSize(100, 50));
    EXPECT_EQ(view->imageRect(), QRectF(0, 0, 100, 50));
}

TEST_F(ThumbnailHUDTest, CloseButtonShowsOnlyWhileHoveredAndOnlyHides) {
    ThumbnailView* shown = showAndWait(makeCapture(400, 300, 1.0));
    ASSERT_NE(shown, nullptr);
    QPointer<ThumbnailView> view = shown;
    HudCloseButton* close = view->closeButton();
    EXPECT_EQ(close->geometry(), QRect(4, 4, 22, 22));
    EXPECT_EQ(close->accessibleName(), QStringLiteral("Close"));
    EXPECT_FALSE(close->isVisible());
    hover(view);
    EXPECT_TRUE(close->isVisible());
    unhover(view);
    EXPECT_FALSE(close->isVisible());

    hover(view);
    QTest::mouseClick(close, Qt::LeftButton, {}, QPoint(11, 11));
    EXPECT_EQ(ThumbnailHUD::current(), nullptr);
    EXPECT_TRUE(!view || !view->isVisible());
    EXPECT_EQ(openCount, 0);
}

TEST_F(ThumbnailHUDTest, AClickHidesAndThenOpensTheCapture) {
    const CapturedImage capture = makeCapture(800, 600, 2.0);
    bool hiddenWhenOpened = false;
    ThumbnailHUD::show(capture, [&](const CapturedImage& opened) {
        hiddenWhenOpened = ThumbnailHUD::current() == nullptr;
        ++openCount;
        lastOpened = opened;
    });
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() != nullptr; }));
    QTest::mouseClick(ThumbnailHUD::current(), Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(openCount, 1);
    EXPECT_TRUE(hiddenWhenOpened);
    EXPECT_EQ(lastOpened.image.cacheKey(), capture.image.cacheKey());
    EXPECT_DOUBLE_EQ(lastOpened.scale, 2.0);
    EXPECT_EQ(ThumbnailHUD::current(), nullptr);
}

TEST_F(ThumbnailHUDTest, APressOnTheViewReleasedElsewhereStillOpensButOtherButtonsDoNot) {
    ThumbnailView* view = showAndWait(makeCapture(400, 300, 1.0));
    ASSERT_NE(view, nullptr);
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_EQ(openCount, 0);
    ASSERT_EQ(ThumbnailHUD::current(), view);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(-40, 300));
    EXPECT_EQ(openCount, 1);
    EXPECT_EQ(ThumbnailHUD::current(), nullptr);
}

TEST_F(ThumbnailHUDTest, ManualModeHasNoTimerAndTenSecondsModeWaitsTenSeconds) {
    showAndWait(makeCapture(400, 300, 1.0));
    EXPECT_EQ(ThumbnailHUD::hideTimer(), nullptr);

    settings->set(keys::hidePreviewMode, QStringLiteral("after10s"));
    showAndWait(makeCapture(300, 300, 1.0));
    ASSERT_NE(ThumbnailHUD::hideTimer(), nullptr);
    EXPECT_TRUE(ThumbnailHUD::hideTimer()->isActive());
    EXPECT_TRUE(ThumbnailHUD::hideTimer()->isSingleShot());
    EXPECT_EQ(ThumbnailHUD::hideTimer()->interval(), 10000);
}

// The hide timer is checked for what it is set to and then made to fire, rather than waited out.
void fireNow(QTimer* timer) {
    timer->start(0);
}

TEST_F(ThumbnailHUDTest, AfterThreeSecondsItHidesEvenWhileHovered) {
    settings->set(keys::hidePreviewMode, QStringLiteral("after3s"));
    ThumbnailView* view = showAndWait(makeCapture(400, 300, 1.0));
    ASSERT_NE(view, nullptr);
    hover(view);
    QTimer* timer = ThumbnailHUD::hideTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive()) << "hovering holds the thumbnail only in manual mode";
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_EQ(ThumbnailHUD::current(), view);
    fireNow(timer);
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() == nullptr; }));
    EXPECT_EQ(openCount, 0);
}

TEST_F(ThumbnailHUDTest, ANewThumbnailReplacesTheOldAndTheOldTimerNeverHidesIt) {
    settings->set(keys::hidePreviewMode, QStringLiteral("after3s"));
    QPointer<ThumbnailView> first = showAndWait(makeCapture(400, 300, 1.0));
    QPointer<QTimer> firstTimer = ThumbnailHUD::hideTimer();
    ASSERT_FALSE(firstTimer.isNull());
    ThumbnailView* second = showAndWait(makeCapture(500, 200, 1.0));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(!first || !first->isVisible());
    EXPECT_TRUE(!firstTimer || !firstTimer->isActive())
        << "the first thumbnail's deadline would hide the second";
    // The second runs on its own three seconds, from when it was shown.
    QTimer* secondTimer = ThumbnailHUD::hideTimer();
    ASSERT_NE(secondTimer, nullptr);
    EXPECT_NE(secondTimer, firstTimer.data());
    EXPECT_TRUE(secondTimer->isActive());
    EXPECT_EQ(secondTimer->interval(), 3000);
    EXPECT_GT(secondTimer->remainingTime(), 2500);
    EXPECT_EQ(ThumbnailHUD::current(), second);
    if (firstTimer) { // even should it fire, it belongs to the first thumbnail alone
        fireNow(firstTimer);
        testsupport::letEventsRun(50);
        EXPECT_EQ(ThumbnailHUD::current(), second);
    }
    fireNow(secondTimer);
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() == nullptr; }));
}

TEST_F(ThumbnailHUDTest, ShownFromAnotherThread) {
    const CapturedImage capture = makeCapture(400, 300, 1.0);
    std::thread worker([&] { ThumbnailHUD::show(capture, [](const CapturedImage&) {}); });
    worker.join();
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() != nullptr; }));
    EXPECT_EQ(ThumbnailHUD::current()->thread(), QApplication::instance()->thread());
}
