// Pins on a real X server with a window manager, driven with real input.
#include "HudTestSupport.h"

#include "hud/PinWindow.h"
#include "hud/WindowIdentity.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

using testsupport::movePointer;
using testsupport::run;
using testsupport::waitUntil;
using testsupport::xdotool;

namespace {

quint64 activeWindow() {
    return xdotool({QStringLiteral("getactivewindow")}).toULongLong();
}

// Client windows bottom to top, as the window manager stacks them.
std::vector<quint64> stacking() {
    const QString line =
        run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    std::vector<quint64> ids;
    const qsizetype hash = line.indexOf(QLatin1Char('#'));
    if (hash < 0) return ids;
    for (const QString& piece : line.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids.push_back(piece.trimmed().toULongLong(nullptr, 16));
    return ids;
}

// True when `lower` and `upper` are both stacked and `upper` is above.
bool stackedAbove(quint64 upper, quint64 lower) {
    const std::vector<quint64> ids = stacking();
    const auto u = std::find(ids.begin(), ids.end(), upper);
    const auto l = std::find(ids.begin(), ids.end(), lower);
    return u != ids.end() && l != ids.end() && u > l;
}

QColor rootPixel(const QPoint& at) {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(at);
}

CapturedImage solid(QSize pixels, QColor color) {
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(color);
    return CapturedImage{image, 1.0};
}

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

// A window of another program, so the window manager treats it as a stranger to Pictro's windows.
class ForeignWindow {
  public:
    explicit ForeignWindow(const QRect& geometry) {
        const QString placement = QStringLiteral("%1x%2+%3+%4")
                                 .arg(geometry.width() / 6)
                                 .arg(geometry.height() / 13)
                                 .arg(geometry.x())
                                 .arg(geometry.y());
        m_process.start(QStringLiteral("xterm"),
                        {QStringLiteral("-T"), QStringLiteral("Pin Foreign"), QStringLiteral("-geometry"),
                         placement, QStringLiteral("-e"), QStringLiteral("sleep"), QStringLiteral("60")});
        m_process.waitForStarted(5000);
        waitUntil([this] {
            m_id =
                xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Pin Foreign$")})
                    .section(QLatin1Char('\n'), 0, 0)
                    .toULongLong();
            return m_id != 0;
        });
    }
    ~ForeignWindow() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    quint64 id() const { return m_id; }

  private:
    QProcess m_process;
    quint64 m_id = 0;
};

class PinX11Test : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        windowidentity::prepareApplication();
        Platform::install(std::make_unique<X11Platform>());
    }
    void SetUp() override {
        hudtest::isolatedSettings();
        QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        editor.setGeometry(screen->availableGeometry().adjusted(100, 100, -700, -300));
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
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
    QPointer<PinWindow> pin = PinWindow::pin(solid(QSize(400, 300), green),
                                             QPointF(pinTopLeft.x(), screenHeight - pinTopLeft.y() - 300));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pin.data()));
    EXPECT_EQ(pin->geometry(), QRect(pinTopLeft, QSize(400, 300)));
    const QPoint centre = pin->geometry().center();

    // Shown above the editor without taking the focus from it.
    ASSERT_TRUE(waitUntil([&] { return stackedAbove(pin->winId(), editor.winId()); }));
    ASSERT_TRUE(waitUntil([&] { return rootPixel(centre) == green; }));
    EXPECT_EQ(activeWindow(), editor.winId());

    // Another program's window opened and activated on the same spot stays below the pin.
    ForeignWindow foreign(QRect(editorFrame.topLeft() + QPoint(50, 50), QSize(700, 500)));
    ASSERT_NE(foreign.id(), 0u);
    xdotool({QStringLiteral("windowactivate"), QString::number(foreign.id())});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == foreign.id(); }));
    ASSERT_TRUE(waitUntil([&] { return stackedAbove(foreign.id(), editor.winId()); }));
    EXPECT_TRUE(stackedAbove(pin->winId(), foreign.id()));
    EXPECT_EQ(rootPixel(centre), green);

    // A click gives the pin the keys, yet leaves Pictro's other window beneath the stranger.
    movePointer(centre);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == pin->winId(); }));
    QTest::qWait(300);
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
    ASSERT_TRUE(waitUntil([&] { return editor.isMinimized() || !editor.isVisible(); }));
    QTest::qWait(200);
    EXPECT_TRUE(pin->isVisible());
    EXPECT_EQ(rootPixel(centre), green);

    // A real double click closes it.
    QTest::qWait(QApplication::doubleClickInterval() + 100); // the earlier click must not pair up
    xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
             QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return PinWindow::pins().empty(); }, 3000));
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
    for (int step = 1; step <= 20; ++step) path.emplace_back(5 * step, 5 * step / 2);
    return path;
}

TEST_P(PinDrag, FollowsThePointerFromTheFirstMotion) {
    QPointer<PinWindow> pin = PinWindow::pin(solid(QSize(300, 200), QColor(200, 40, 160)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pin.data()));
    const QPoint start = pin->pos();
    const QPoint grab = pin->geometry().center();
    movePointer(grab);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QTest::qWait(100); // a hand holds the button a moment before moving
    for (const QPoint& offset : GetParam().path) {
        movePointer(grab + offset);
        if (GetParam().pauseMs > 0) QTest::qWait(GetParam().pauseMs);
    }
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    const QPoint target = start + GetParam().path.back();
    ASSERT_TRUE(waitUntil([&] { return pin->pos() == target; }, 3000))
        << "at " << pin->pos().x() - start.x() << "," << pin->pos().y() - start.y() << " of the drag";
    // The pin is not stuck to the pointer once the button is up.
    const QPoint dropped = pin->pos();
    movePointer(grab + QPoint(-200, -100));
    QTest::qWait(300);
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
    ForeignWindow foreign(QRect(QPoint(40, 40), QSize(500, 300)));
    ASSERT_NE(foreign.id(), 0u);
    xdotool({QStringLiteral("windowactivate"), QString::number(foreign.id())});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == foreign.id(); }));
    auto maker = std::make_unique<PlainWindow>(QStringLiteral("Pictro Editor"), QColor(250, 230, 40));
    maker->setGeometry(QRect(300, 200, 600, 400));
    maker->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(maker.get()));
    maker->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == maker->winId(); }));
    QPointer<PinWindow> pin = PinWindow::pin(solid(QSize(200, 150), QColor(40, 90, 220)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pin.data()));
    maker.reset();
    // The window manager hands the keys on when the editor goes; never to the pin.
    const bool pinTookThem = waitUntil([&] { return activeWindow() == pin->winId() || pin->isActiveWindow(); }, 1500);
    EXPECT_FALSE(pinTookThem);
}
