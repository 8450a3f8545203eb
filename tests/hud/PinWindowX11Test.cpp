// Pins on a real X server with a window manager, driven with real input.
#include "HudTestSupport.h"

#include "hud/PinWindow.h"
#include "hud/WindowIdentity.h"
#include "support/TestSupport.h"
#include "support/x11/TestWindow.h"
#include "support/x11/X11TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

using testsupport::letEventsRun;
using testsupport::solidCapture;
using testsupport::waitExposed;
using testsupport::waitUntil;
using x11test::activeWindow;
using x11test::movePointer;
using x11test::rootPixel;
using x11test::stackedAbove;
using x11test::xdotool;

namespace {

class PlainWindow : public QWidget {
  public:
    PlainWindow(const QString& title, QColor color) {
        setWindowTitle(title);
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, color);
        setPalette(pal);
    }
};

// The ICCCM state the window manager gives a window: "Normal" or "Iconic".
bool inState(quint64 window, const char* state) {
    return x11test::windowProperties(window, {QStringLiteral("WM_STATE")}).contains(QLatin1String(state));
}

class PinX11Test : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        windowidentity::prepareApplication();
        x11test::installX11Platform();
    }
    void SetUp() override {
        hudtest::isolatedSettings();
        QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        editor.setGeometry(screen->availableGeometry().adjusted(100, 100, -700, -300));
        editor.show();
        ASSERT_TRUE(waitExposed(&editor, x11test::firstWindowMs));
        editor.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return activeWindow() == editor.winId(); }));
        movePointer(QPoint(5, 5));
    }
    void TearDown() override {
        const std::vector<PinWindow*> open = PinWindow::pins();
        for (PinWindow* pin : open)
            pin->close();
        hudtest::clearHuds();
    }

    // Stands for the editor or any other window of Pictro's own.
    PlainWindow editor{QStringLiteral("Pictro Other"), QColor(250, 230, 40)};
};

} // namespace

TEST_F(PinX11Test, FloatsAboveOtherWindowsTakesKeysWhenClickedAndClosesOnADoubleClick) {
    const QColor green(30, 200, 60);
    const QRect editorFrame = editor.geometry();
    // Bottom-left point space: the pin covers the middle of the editor window.
    const double screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    const QPoint pinTopLeft = editorFrame.topLeft() + QPoint(150, 100);
    QPointer<PinWindow> pin = PinWindow::pin(solidCapture(QSize(400, 300), green),
                                             QPointF(pinTopLeft.x(), screenHeight - pinTopLeft.y() - 300));
    ASSERT_TRUE(waitExposed(pin.data()));
    EXPECT_EQ(pin->geometry(), QRect(pinTopLeft, QSize(400, 300)));
    const QPoint centre = pin->geometry().center();

    // Shown above the editor without taking the focus from it.
    ASSERT_TRUE(waitUntil([&] { return stackedAbove(pin->winId(), editor.winId()); }));
    ASSERT_TRUE(waitUntil([&] { return rootPixel(centre) == green; }));
    EXPECT_EQ(activeWindow(), editor.winId());

    // Another program's window opened and activated on the same spot stays below the pin.
    const QPoint foreignAt = editorFrame.topLeft() + QPoint(50, 50);
    TestWindow foreign({QStringLiteral("--pos"),
                        QStringLiteral("%1,%2").arg(foreignAt.x()).arg(foreignAt.y()),
                        QStringLiteral("--size"), QStringLiteral("700x500"), QStringLiteral("--title"),
                        QStringLiteral("Pin Foreign")});
    ASSERT_NE(foreign.id(), 0u);
    xdotool({QStringLiteral("windowactivate"), QString::number(foreign.id())});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == foreign.id(); }));
    ASSERT_TRUE(waitUntil([&] { return stackedAbove(foreign.id(), editor.winId()); }));
    EXPECT_TRUE(stackedAbove(pin->winId(), foreign.id()));
    EXPECT_EQ(rootPixel(centre), green);

    // A click gives the pin the keys, yet leaves Pictro's other window beneath the stranger.
    movePointer(centre);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QElapsedTimer sinceClick;
    sinceClick.start();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == pin->winId(); }));
    letEventsRun(300); // a raise of the editor, if any, would follow the activation
    EXPECT_TRUE(stackedAbove(foreign.id(), editor.winId())) << "clicking the pin raised the editor";
    EXPECT_EQ(pin->geometry().topLeft(), pinTopLeft) << "a click is not a drag";
    QGuiApplication::clipboard()->clear();
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+c")});
    ASSERT_TRUE(waitUntil([] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasFormat(QStringLiteral("image/png"));
    }));

    // Minimising Pictro's other window leaves the pin on screen.
    xdotool({QStringLiteral("windowminimize"), QString::number(editor.winId())});
    // The window manager iconifies a window together with any it takes for its companions.
    ASSERT_TRUE(waitUntil([&] { return inState(editor.winId(), "Iconic"); }));
    EXPECT_TRUE(inState(pin->winId(), "Normal"));
    EXPECT_TRUE(pin->isVisible());
    EXPECT_EQ(rootPixel(centre), green);

    // A real double click closes it; the earlier click must not pair up with it.
    waitUntil([&] { return sinceClick.elapsed() > QApplication::doubleClickInterval() + 100; }, 5000);
    xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
             QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return PinWindow::pins().empty(); }));
    ASSERT_TRUE(waitUntil([&] { return pin.isNull(); }));
    EXPECT_TRUE(waitUntil([&] { return rootPixel(centre) != green; }));
}

// Pointer positions relative to the grab point, and the pause after each.
struct DragCase {
    const char* name;
    std::vector<QPoint> path;
    int pauseMs;
};

class PinDrag : public PinX11Test, public ::testing::WithParamInterface<DragCase> {};

std::vector<QPoint> smallSteps() {
    std::vector<QPoint> path;
    for (int step = 1; step <= 20; ++step)
        path.emplace_back(5 * step, 5 * step / 2);
    return path;
}

TEST_P(PinDrag, FollowsThePointerFromTheFirstMotion) {
    QPointer<PinWindow> pin = PinWindow::pin(solidCapture(QSize(300, 200), QColor(200, 40, 160)));
    ASSERT_TRUE(waitExposed(pin.data()));
    const QPoint start = pin->pos();
    const QPoint grab = pin->geometry().center();
    movePointer(grab);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    letEventsRun(100); // a hand holds the button a moment before moving
    for (const QPoint& offset : GetParam().path) {
        movePointer(grab + offset);
        if (GetParam().pauseMs > 0) letEventsRun(GetParam().pauseMs);
    }
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    const QPoint target = start + GetParam().path.back();
    ASSERT_TRUE(waitUntil([&] { return pin->pos() == target; }, 3000))
        << "at " << pin->pos().x() - start.x() << "," << pin->pos().y() - start.y() << " of the drag";
    // The pin is not stuck to the pointer once the button is up.
    const QPoint dropped = pin->pos();
    movePointer(grab + QPoint(-200, -100));
    letEventsRun(300);
    EXPECT_EQ(pin->pos(), dropped);
    EXPECT_EQ(PinWindow::pins().size(), 1u);
    // The frame followed the move, so a zoom keeps the dropped centre.
    const QPoint centre = pin->geometry().center();
    QWheelEvent wheel(QPointF(10, 10), pin->mapToGlobal(QPointF(10, 10)), QPoint(0, 20), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pin.data(), &wheel);
    ASSERT_TRUE(waitUntil([&] { return pin->size() == QSize(330, 220); }));
    EXPECT_LE((pin->geometry().center() - centre).manhattanLength(), 2);
}
INSTANTIATE_TEST_SUITE_P(Motions, PinDrag,
                         ::testing::Values(DragCase{"fivePixelSteps", smallSteps(), 15},
                                           DragCase{"twoInstantJumps", {QPoint(50, 25), QPoint(100, 50)}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PinX11Test, APinMadeFromTheEditorLeavesTheKeysWhereTheyWere) {
    // Someone works in another program, opens the editor, pins the image, and the editor closes.
    editor.hide();
    TestWindow foreign({QStringLiteral("--pos"), QStringLiteral("40,40"), QStringLiteral("--size"),
                        QStringLiteral("500x300"), QStringLiteral("--title"), QStringLiteral("Pin Keys")});
    ASSERT_NE(foreign.id(), 0u);
    xdotool({QStringLiteral("windowactivate"), QString::number(foreign.id())});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == foreign.id(); }));
    auto maker = std::make_unique<PlainWindow>(QStringLiteral("Pictro Editor"), QColor(250, 230, 40));
    maker->setGeometry(QRect(300, 200, 600, 400));
    maker->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(maker.get()));
    maker->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == maker->winId(); }));
    QPointer<PinWindow> pin = PinWindow::pin(solidCapture(QSize(200, 150), QColor(40, 90, 220)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pin.data()));
    maker.reset();
    // The window manager hands the keys on when the editor goes; never to the pin.
    const bool pinTookThem =
        waitUntil([&] { return activeWindow() == pin->winId() || pin->isActiveWindow(); }, 1500);
    EXPECT_FALSE(pinTookThem);
}
