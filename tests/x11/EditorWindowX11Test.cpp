// The editor on a real X server with a window manager: a rectangle drawn with the real pointer and
// Ctrl+C typed on the real keyboard put the annotated image on the clipboard, where another
// program reads it.
#include "hud/HudTestSupport.h"

#include "editor/EditorCanvasView.h"
#include "editor/EditorWindowController.h"
#include "hud/ToastHUD.h"
#include "hud/WindowIdentity.h"
#include "settings/SettingsKeys.h"
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using testsupport::waitExposed;
using testsupport::waitUntil;
using x11test::movePointer;
using x11test::xdotool;

namespace {

// A grey picture with a blue diagonal band: nothing in it is the annotation red.
QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter p(&image);
    p.setPen(QPen(QColor(40, 80, 200), 30));
    p.drawLine(0, 0, w, h);
    return image;
}

// How far a pixel centre lies from the outline of a rectangle (top-left pixel coordinates).
double distanceToOutline(const QPointF& p, const QRectF& r) {
    const bool inside = r.contains(p);
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    if (!inside) return std::hypot(dx, dy);
    return std::min({p.x() - r.left(), r.right() - p.x(), p.y() - r.top(), r.bottom() - p.y()});
}

class EditorWindowX11Test : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        windowidentity::prepareApplication();
        x11test::installX11Platform();
    }
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::confirmationStyle, QStringLiteral("custom"));
        settings->set(keys::preferZoom100, true);
        settings->set(keys::downscaleRetina, false);
    }
    void TearDown() override {
        const auto& open = EditorWindowController::controllers();
        for (int guard = 0; !open.empty() && guard < 10; ++guard)
            open.front()->closeWindow();
        hudtest::clearHuds();
    }

    // Opens an editor and waits until it is the active window with the canvas focused.
    EditorWindowController* openActive(const QImage& image) {
        EditorWindowController::open(CapturedImage{image, 1.0});
        EXPECT_EQ(EditorWindowController::controllers().size(), 1u);
        EditorWindowController* editor = EditorWindowController::controllers().front().get();
        EXPECT_TRUE(waitExposed(editor->window(), x11test::firstWindowMs));
        const quint64 windowId = editor->window()->winId();
        EXPECT_TRUE(waitUntil([&] { return x11test::activeWindow() == windowId; }));
        EXPECT_TRUE(waitUntil([&] { return editor->canvas()->hasFocus(); }));
        const QString props =
            x11test::windowProperties(windowId, {QStringLiteral("WM_CLASS"), QStringLiteral("_NET_WM_NAME")});
        EXPECT_TRUE(props.contains(QStringLiteral("\"pictro\", \"Pictro\""))) << props.toStdString();
        EXPECT_TRUE(props.contains(QStringLiteral("\"Pictro Editor\""))) << props.toStdString();
        return editor;
    }

    Settings* settings = nullptr;
};

} // namespace

TEST_F(EditorWindowX11Test, CapsLockOrShiftKeepsLettersFromChoosingTools) {
    EditorWindowController* editor = openActive(picture(640, 420));
    EditorCanvasView* canvas = editor->canvas();
    // Ctrl+0 after the letter marks when the letter has been handled: keys arrive in order.
    const auto pressThenSync = [&](const QStringList& keys) {
        editor->setMagnification(0.5);
        for (const QString& key : keys)
            xdotool({QStringLiteral("key"), key});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+0")});
        return waitUntil([&] { return canvas->magnification() == 1.0; });
    };
    ASSERT_TRUE(pressThenSync({QStringLiteral("Caps_Lock"), QStringLiteral("r")}));
    EXPECT_EQ(canvas->currentTool(), EditorTool::select);
    ASSERT_TRUE(pressThenSync({QStringLiteral("shift+r"), QStringLiteral("Caps_Lock")}));
    EXPECT_EQ(canvas->currentTool(), EditorTool::select);
    // With the lock off again the letter chooses its tool.
    ASSERT_TRUE(pressThenSync({QStringLiteral("r")}));
    EXPECT_EQ(canvas->currentTool(), EditorTool::rect);
}

TEST_F(EditorWindowX11Test, ClassicWheelZoomsAboutThePointer) {
    EditorWindowController* editor = openActive(picture(1200, 900));
    EditorCanvasView* canvas = editor->canvas();
    ASSERT_DOUBLE_EQ(canvas->magnification(), 1.0);
    const QPoint pointer(300, 200);
    movePointer(canvas->mapToGlobal(pointer));
    // XTest wheel clicks arrive as angle deltas of 120 without pixel deltas: one is a 10 % step.
    xdotool({QStringLiteral("click"), QStringLiteral("4")});
    ASSERT_TRUE(waitUntil([&] { return qFuzzyCompare(canvas->magnification(), 1.1); }))
        << canvas->magnification();
    const QPoint under = canvas->mapFromGlobal(QCursor::pos());
    EXPECT_NEAR(under.x() / 1.1, pointer.x(), 1.0);
    EXPECT_NEAR(under.y() / 1.1, pointer.y(), 1.0);
}

TEST_F(EditorWindowX11Test, RectangleDrawnWithThePointerIsOnTheCopiedImage) {
    const QImage original = picture(640, 420);
    EditorWindowController* editor = openActive(original);
    EditorCanvasView* canvas = editor->canvas();
    ASSERT_DOUBLE_EQ(canvas->magnification(), 1.0);

    xdotool({QStringLiteral("key"), QStringLiteral("r")});
    ASSERT_TRUE(waitUntil([&] { return canvas->currentTool() == EditorTool::rect; }));

    const QPoint from(120, 90), to(360, 270); // in the canvas, top-left points = pixels here
    movePointer(canvas->mapToGlobal(from));
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int step = 1; step <= 4; ++step)
        movePointer(canvas->mapToGlobal(from + (to - from) * step / 4));
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return canvas->annotations().size() == 1; }));

    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+c")});
    ASSERT_TRUE(waitUntil([] { return EditorWindowController::controllers().empty(); }));

    const QByteArray png =
        testsupport::runProgram(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png", "-o"},
                                20000)
            .out;
    const QImage pasted = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(pasted.size(), original.size());

    // The copy differs from the original on the rectangle's 3-point outline and nowhere else.
    const QRectF outline{QPointF(from), QPointF(to)};
    int onOutline = 0;
    for (int y = 0; y < pasted.height(); ++y)
        for (int x = 0; x < pasted.width(); ++x) {
            if (pasted.pixel(x, y) == original.pixel(x, y)) continue;
            const double d = distanceToOutline(QPointF(x + 0.5, y + 0.5), outline);
            ASSERT_LE(d, 3.0) << "changed pixel " << x << "," << y << " far from the outline";
            ++onOutline;
        }
    // A 3-point stroke around 240 × 180 points covers at least 2 × (240 + 180) × 2 pixels.
    EXPECT_GT(onOutline, 2 * (240 + 180) * 2);
    for (const QPoint mid : {QPoint(240, 90), QPoint(240, 270), QPoint(120, 180), QPoint(360, 180)}) {
        const QColor c = pasted.pixelColor(mid);
        EXPECT_TRUE(c.red() > 200 && c.green() < 100) << mid.x() << "," << mid.y();
    }
}
