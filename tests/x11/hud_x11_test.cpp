// The toast and the thumbnail on a real X server with a window manager, driven with real input.
#include "../hud/HudTestSupport.h"

#include "hud/HudCloseButton.h"
#include "hud/ThumbnailHUD.h"
#include "hud/ThumbnailView.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "hud/WindowIdentity.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using testsupport::movePointer;
using testsupport::run;
using testsupport::waitUntil;
using testsupport::xdotool;

namespace {

QString windowProperties(QWidget* w) {
    return run(QStringLiteral("xprop"),
               {QStringLiteral("-id"), QString::number(w->winId()), QStringLiteral("WM_CLASS"),
                QStringLiteral("WM_NAME"), QStringLiteral("_NET_WM_NAME")});
}

QString activeWindow() {
    return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed();
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
        Platform::install(std::make_unique<X11Platform>());
    }
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::confirmationStyle, QStringLiteral("custom"));
        settings->set(keys::hidePreviewMode, QStringLiteral("manual"));
        QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        receiver.setGeometry(screen->availableGeometry().adjusted(200, 200, -200, -20));
        receiver.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&receiver));
        receiver.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return activeWindow() == QString::number(receiver.winId()); }));
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(toast));
    const QRect panel = toast->panelGeometry();
    ASSERT_TRUE(receiver.geometry().contains(panel));

    // The toast is what a person sees there: dark panel pixels over the yellow window.
    const QPoint probe(panel.left() + 6, panel.center().y());
    ASSERT_TRUE(waitUntil([&] {
        const QImage root = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return root.pixelColor(probe).lightness() < 60;
    }));

    const QString props = windowProperties(toast);
    EXPECT_TRUE(props.contains(QStringLiteral("WM_CLASS(STRING) = \"pictro\", \"Pictro\"")))
        << props.toStdString();
    EXPECT_TRUE(props.contains(QStringLiteral("\"Pictro Toast\""))) << props.toStdString();

    const QPoint centre = panel.center();
    movePointer(centre);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return !receiver.presses.isEmpty(); }, 3000))
        << "the click stopped at the toast";
    EXPECT_LE((receiver.presses.first() - centre).manhattanLength(), 1);
    // Showing and clicking through the toast did not move the focus.
    EXPECT_EQ(activeWindow(), QString::number(receiver.winId()));
    EXPECT_TRUE(toast->isVisible());
}

TEST_F(HudX11Test, ToastAndThumbnailShowOverAFocusedFullScreenWindow) {
    receiver.showFullScreen();
    ASSERT_TRUE(
        waitUntil([&] { return receiver.geometry() == QGuiApplication::primaryScreen()->geometry(); }));
    receiver.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == QString::number(receiver.winId()); }));
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(QColor(20, 40, 200));
    ThumbnailHUD::show(CapturedImage{image, 1.0}, [](const CapturedImage&) {});
    ToastHUD::show(QStringLiteral("Over everything"), QStringLiteral("checkmark.circle.fill"), 10.0);
    ASSERT_TRUE(waitUntil([] { return ToastHUD::current() && ThumbnailHUD::current(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ToastHUD::current()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ThumbnailHUD::current()));
    const QPoint toastProbe(ToastHUD::current()->panelGeometry().left() + 6,
                            ToastHUD::current()->panelGeometry().center().y());
    const QPoint thumbProbe = ThumbnailHUD::current()->geometry().center();
    EXPECT_TRUE(waitUntil([&] {
        const QImage root = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const QColor thumb = root.pixelColor(thumbProbe);
        return root.pixelColor(toastProbe).lightness() < 60 && thumb.blue() > 150 && thumb.red() < 60;
    }));
    EXPECT_EQ(activeWindow(), QString::number(receiver.winId()));
}

TEST_F(HudX11Test, ThumbnailAnswersTheRealPointerWithoutTakingFocus) {
    QImage image(1600, 1000, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    int opened = 0;
    ThumbnailHUD::show(CapturedImage{image, 1.0}, [&](const CapturedImage&) { ++opened; });
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() && ThumbnailHUD::current()->isVisible(); }));
    ThumbnailView* view = ThumbnailHUD::current();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    EXPECT_EQ(view->size(), QSize(260, 163));

    const QString props = windowProperties(view);
    EXPECT_TRUE(props.contains(QStringLiteral("WM_CLASS(STRING) = \"pictro\", \"Pictro\"")))
        << props.toStdString();
    EXPECT_TRUE(props.contains(QStringLiteral("\"Pictro Thumbnail\""))) << props.toStdString();

    const QPoint centre = view->geometry().center();
    movePointer(centre);
    ASSERT_TRUE(waitUntil([&] { return view->closeButton()->isVisible(); }, 3000));
    movePointer(view->geometry().topLeft() - QPoint(40, 40));
    ASSERT_TRUE(waitUntil([&] { return !view->closeButton()->isVisible(); }, 3000));

    movePointer(centre);
    ASSERT_TRUE(waitUntil([&] { return view->closeButton()->isVisible(); }, 3000));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return opened == 1; }, 3000));
    EXPECT_EQ(ThumbnailHUD::current(), nullptr);
    EXPECT_TRUE(receiver.presses.isEmpty());
    EXPECT_EQ(activeWindow(), QString::number(receiver.winId()));
}

TEST_F(HudX11Test, ThumbnailCloseButtonHidesWithoutOpening) {
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    int opened = 0;
    ThumbnailHUD::show(CapturedImage{image, 1.0}, [&](const CapturedImage&) { ++opened; });
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() && ThumbnailHUD::current()->isVisible(); }));
    ThumbnailView* view = ThumbnailHUD::current();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    movePointer(view->geometry().center());
    ASSERT_TRUE(waitUntil([&] { return view->closeButton()->isVisible(); }, 3000));
    movePointer(view->mapToGlobal(view->closeButton()->geometry().center()));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([] { return ThumbnailHUD::current() == nullptr; }, 3000));
    EXPECT_EQ(opened, 0);
}
