// The toast and the thumbnail on a real X server with a window manager, driven with real input.
#include "hud/HudTestSupport.h"

#include "hud/HudCloseButton.h"
#include "hud/ThumbnailHUD.h"
#include "hud/ThumbnailView.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "hud/WindowIdentity.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using testsupport::solidCapture;
using testsupport::waitExposed;
using testsupport::waitUntil;
using x11test::activeWindow;
using x11test::movePointer;
using x11test::xdotool;

namespace {

QString windowProperties(QWidget* w) {
    return x11test::windowProperties(
        w->winId(), {QStringLiteral("WM_CLASS"), QStringLiteral("WM_NAME"), QStringLiteral("_NET_WM_NAME")});
}

// The screen's pixel at a point, as a person sees it.
QColor onScreen(const QPoint& at) {
    return x11test::rootPixel(at);
}

// A plain application window that remembers where it was pressed.
class Receiver : public QWidget {
  public:
    Receiver() {
        setWindowTitle(QStringLiteral("Receiver"));
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(250, 230, 40));
        setPalette(pal);
    }
    QList<QPoint> presses;

  protected:
    void mousePressEvent(QMouseEvent* e) override { presses << e->globalPosition().toPoint(); }
};

class HudX11Test : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Before any native window exists: the process's X11 class is fixed by its first window.
        windowidentity::prepareApplication();
        x11test::installX11Platform();
    }
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::confirmationStyle, QStringLiteral("custom"));
        settings->set(keys::hidePreviewMode, QStringLiteral("manual"));
        QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        receiver.setGeometry(screen->availableGeometry().adjusted(200, 200, -200, -20));
        receiver.show();
        ASSERT_TRUE(waitExposed(&receiver, x11test::firstWindowMs));
        receiver.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return activeWindow() == receiver.winId(); }));
        movePointer(QPoint(5, 5));
    }
    void TearDown() override { hudtest::clearHuds(); }

    Settings* settings = nullptr;
    Receiver receiver;
};

} // namespace

TEST_F(HudX11Test, ToastShowsAboveAWindowAndItsClicksReachThatWindow) {
    ToastHUD::show(QStringLiteral("Clicks go through"), QStringLiteral("checkmark.circle.fill"), 10.0);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() && ToastHUD::current()->isVisible(); }));
    ToastWindow* toast = ToastHUD::current();
    ASSERT_TRUE(waitExposed(toast));
    const QRect panel = toast->panelGeometry();
    ASSERT_TRUE(receiver.geometry().contains(panel));

    // The toast is what a person sees there: dark panel pixels over the yellow window.
    const QPoint probe(panel.left() + 6, panel.center().y());
    ASSERT_TRUE(waitUntil([&] { return onScreen(probe).lightness() < 60; }));

    const QString props = windowProperties(toast);
    EXPECT_TRUE(props.contains(QStringLiteral("WM_CLASS(STRING) = \"pictro\", \"Pictro\"")))
        << props.toStdString();
    EXPECT_TRUE(props.contains(QStringLiteral("\"Pictro Toast\""))) << props.toStdString();

    const QPoint centre = panel.center();
    movePointer(centre);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return !receiver.presses.isEmpty(); })) << "the click stopped at the toast";
    EXPECT_LE((receiver.presses.first() - centre).manhattanLength(), 1);
    // Showing and clicking through the toast did not move the focus.
    EXPECT_EQ(activeWindow(), receiver.winId());
    EXPECT_TRUE(toast->isVisible());
}

TEST_F(HudX11Test, ToastAndThumbnailShowOverAFocusedFullScreenWindow) {
    receiver.showFullScreen();
    ASSERT_TRUE(
        waitUntil([&] { return receiver.geometry() == QGuiApplication::primaryScreen()->geometry(); }));
    receiver.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == receiver.winId(); }));
    ThumbnailHUD::show(solidCapture(QSize(400, 300), QColor(20, 40, 200)), [](const CapturedImage&) {});
    ToastHUD::show(QStringLiteral("Over everything"), QStringLiteral("checkmark.circle.fill"), 10.0);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() && ThumbnailHUD::current(); }));
    ASSERT_TRUE(waitExposed(ToastHUD::current()));
    ASSERT_TRUE(waitExposed(ThumbnailHUD::current()));
    const QPoint toastProbe(ToastHUD::current()->panelGeometry().left() + 6,
                            ToastHUD::current()->panelGeometry().center().y());
    const QPoint thumbProbe = ThumbnailHUD::current()->geometry().center();
    EXPECT_TRUE(waitUntil([&] {
        const QColor thumb = onScreen(thumbProbe);
        return onScreen(toastProbe).lightness() < 60 && thumb.blue() > 150 && thumb.red() < 60;
    }));
    EXPECT_EQ(activeWindow(), receiver.winId());
}

TEST_F(HudX11Test, ThumbnailAnswersTheRealPointerWithoutTakingFocus) {
    int opened = 0;
    ThumbnailHUD::show(solidCapture(QSize(1600, 1000), QColor(30, 120, 200)),
                       [&](const CapturedImage&) { ++opened; });
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() && ThumbnailHUD::current()->isVisible(); }));
    ThumbnailView* view = ThumbnailHUD::current();
    ASSERT_TRUE(waitExposed(view));
    EXPECT_EQ(view->size(), QSize(260, 163));

    const QString props = windowProperties(view);
    EXPECT_TRUE(props.contains(QStringLiteral("WM_CLASS(STRING) = \"pictro\", \"Pictro\"")))
        << props.toStdString();
    EXPECT_TRUE(props.contains(QStringLiteral("\"Pictro Thumbnail\""))) << props.toStdString();

    const QPoint centre = view->geometry().center();
    movePointer(centre);
    ASSERT_TRUE(waitUntil([&] { return view->closeButton()->isVisible(); }));
    movePointer(view->geometry().topLeft() - QPoint(40, 40));
    ASSERT_TRUE(waitUntil([&] { return !view->closeButton()->isVisible(); }));

    movePointer(centre);
    ASSERT_TRUE(waitUntil([&] { return view->closeButton()->isVisible(); }));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return opened == 1; }));
    EXPECT_EQ(ThumbnailHUD::current(), nullptr);
    EXPECT_TRUE(receiver.presses.isEmpty());
    EXPECT_EQ(activeWindow(), receiver.winId());
}

TEST_F(HudX11Test, ThumbnailCloseButtonHidesWithoutOpening) {
    int opened = 0;
    ThumbnailHUD::show(solidCapture(QSize(300, 200), Qt::white), [&](const CapturedImage&) { ++opened; });
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() && ThumbnailHUD::current()->isVisible(); }));
    ThumbnailView* view = ThumbnailHUD::current();
    ASSERT_TRUE(waitExposed(view));
    movePointer(view->geometry().center());
    ASSERT_TRUE(waitUntil([&] { return view->closeButton()->isVisible(); }));
    movePointer(view->mapToGlobal(view->closeButton()->geometry().center()));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() == nullptr; }));
    EXPECT_EQ(opened, 0);
}
