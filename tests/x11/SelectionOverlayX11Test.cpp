// The selection overlay on a real X server with a window manager, driven by real input (XTest
// through xdotool).
#include "capture/CaptureEngine.h"
#include "overlay/OverlayWindow.h"
#include "overlay/SelectionOverlay.h"
#include "overlay/SelectionOverlayView.h"
#include "support/TestSupport.h"
#include "support/x11/TestWindow.h"
#include "support/x11/X11TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

bool xdotool(const QStringList& args) {
    return x11test::xdotoolSucceeds(args);
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Every value of every channel somewhere, so that the dimming's rounding shows.
QImage ramps(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256 * 37 + y) % 256));
    return image;
}

// How many pixels differ, and by how much at most in one channel.
QString differences(const QImage& a, const QImage& b) {
    int count = 0, most = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            count += d > 0;
            most = std::max(most, d);
        }
    return QStringLiteral("%1 pixels differ, by up to %2").arg(count).arg(most);
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

// The window shows the picture the server holds, with only the hole, border, readout and guides
// drawn over it: on screen it must be exactly what the view paints in one piece.
TEST_F(OverlayOnX11, ScreenShowsExactlyWhatTheViewPaints) {
    const QImage backdrop = ramps(QSize(1920, 1080));
    QLabel label;
    label.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    label.setPixmap(QPixmap::fromImage(backdrop));
    label.setGeometry(0, 0, 1920, 1080);
    label.show();
    ASSERT_TRUE(testsupport::waitUntil([&] {
        return x11test::rootPixel({300, 200}) == backdrop.pixelColor(300, 200);
    }));

    ASSERT_TRUE(xdotool({"mousemove", "500", "400"}));
    ASSERT_TRUE(beginAndWait(OverlayMode::area));
    OverlayWindow* window = SelectionOverlay::current()->windows().front();
    SelectionOverlayView* view = window->view();
    EXPECT_TRUE(window->testAttribute(Qt::WA_PaintOnScreen)) << "the view draws over the held picture";
    ASSERT_TRUE(xdotool(
        {"mousemove", "520", "410", "mousedown", "1", "mousemove", "700", "600", "mousemove", "903", "701"}));
    ASSERT_TRUE(testsupport::waitUntil([&] {
        const auto s = view->selectionRect();
        return s && s->width() == 383 && s->height() == 291;
    }));
    const CapturedImage* frozen = view->frozenImage();
    ASSERT_NE(frozen, nullptr);
    EXPECT_TRUE(x11test::samePixels(frozen->image, backdrop));

    // The same drag on a view painting the same picture by itself.
    SelectionOverlayView reference(OverlayMode::area, view->screen(), OverlayPicture{*frozen, std::nullopt},
                                   {}, nullptr);
    reference.resize(view->size());
    sendMouse(&reference, QEvent::MouseMove, QPoint(520, 410), Qt::NoButton, Qt::NoButton);
    sendMouse(&reference, QEvent::MouseButtonPress, QPoint(520, 410), Qt::LeftButton, Qt::LeftButton);
    sendMouse(&reference, QEvent::MouseMove, QPoint(903, 701), Qt::NoButton, Qt::LeftButton);
    const QImage expected = reference.grab().toImage();

    QApplication::processEvents();
    const QImage shown = x11test::rootByImport();
    EXPECT_TRUE(x11test::samePixels(shown, expected)) << differences(shown, expected).toStdString();
    ASSERT_TRUE(xdotool({"mouseup", "1"}));
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
