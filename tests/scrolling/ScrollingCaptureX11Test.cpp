// The scrolling capture on a real X server: a scroll area showing a tall page whose rows all
// differ is turned by real XTest wheel notches, and the stitched image must be the page's pixels.
#include "ScrollingX11Fixture.h"
#include "capture/CaptureEngine.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "scrolling/ScrollStep.h"
#include "scrolling/ScrollingBorder.h"
#include "scrolling/ScrollingCapture.h"
#include "scrolling/ScrollingTestSupport.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

using scrollingtest::randomRows;
using testsupport::waitUntil;

class ScrollingOnX11 : public ScrollingX11Fixture {
  protected:
    void SetUp() override {
        ScrollingX11Fixture::SetUp();
        page = randomRows(480, 2000, 23);
        auto* label = new QLabel;
        label->setPixmap(QPixmap::fromImage(page));
        label->setFixedSize(page.size());
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view.setWidget(label);
        view.setWindowTitle(QStringLiteral("Tall page"));
        view.resize(480 + view.verticalScrollBar()->sizeHint().width(), 400);
        view.move(300, 200);
        view.show();
        ASSERT_TRUE(testsupport::waitExposed(&view, x11test::firstWindowMs));
        ASSERT_TRUE(waitUntil([this] { return showsPageAt(0); }));
    }

    // The screen shows the page's rows from `top` in the viewport.
    bool showsPageAt(int top) const {
        const QPoint at = view.viewport()->mapToGlobal(QPoint(0, 0));
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(0, at.x(), at.y(), 480, 400)
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        return shown == page.copy(0, top, 480, 400);
    }

    void TearDown() override {
        if (ScrollingCapture* c = ScrollingCapture::active()) c->cancel();
        testsupport::waitUntil([] { return ScrollingCapture::active() == nullptr; });
    }

    // The viewport as a region of its screen (points, origin at the screen's bottom-left corner).
    std::pair<ScreenInfo, QRectF> viewportRegion() const {
        const Screens& screens = Platform::current().screens();
        const QRectF qt(QRectF(view.viewport()->mapToGlobal(QPoint(0, 0)), QSizeF(view.viewport()->size())));
        const QRectF global = screens.converter().qtToBottomLeft(qt);
        const ScreenInfo screen = screens.screens().front();
        return {screen, global.translated(-screen.frame.topLeft())};
    }

    std::optional<CapturedImage> capture(ScrollDirection direction,
                                         const std::function<void()>& meanwhile = {}) {
        const auto [screen, region] = viewportRegion();
        bool done = false;
        std::optional<CapturedImage> result;
        ScrollingCapture* c = ScrollingCapture::start(
            direction, screen, region,
            [&](const std::optional<CapturedImage>& image) {
                result = image;
                done = true;
            },
            *settings);
        EXPECT_NE(c, nullptr);
        if (meanwhile) meanwhile();
        EXPECT_TRUE(waitUntil([&] { return done; }, 60000));
        return result;
    }

    QImage page;
    QScrollArea view;
};

TEST_F(ScrollingOnX11, ScrollingDownStitchesThePageFromTopToBottom) {
    ASSERT_EQ(view.viewport()->size(), QSize(480, 400));
    QImage screen;
    bool labelFits = false;
    const QPoint viewportTopLeft = view.viewport()->mapToGlobal(QPoint(0, 0));
    const QColor accent = view.palette().color(QPalette::Highlight);
    const auto result = capture(ScrollDirection::down, [&] {
        // At the real screen's resolution a long reading still fits the progress label.
        if (ScrollingCapture* c = ScrollingCapture::active())
            if (const QLabel* label = c->borderWindow()->findChild<QLabel*>())
                labelFits = label->fontMetrics().horizontalAdvance(scrollstep::progressText(40000, 1.0)) <=
                            label->width();
        // Once the ring is on the screen, the whole screen as Pictro itself captures it.
        waitUntil([&] {
            auto shot = CaptureEngine::captureDisplay(Platform::current().screens().screens().front());
            waitUntil([&] { return shot.isFinished(); });
            if (shot.result().ok()) screen = shot.result().image().image;
            return !screen.isNull() && QColor(screen.pixel(viewportTopLeft + QPoint(-3, 200))) == accent;
        });
    });
    ASSERT_TRUE(result);
    EXPECT_TRUE(labelFits);
    // The ring is on the screen, in the accent colour, just outside the captured pixels.
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(QColor(screen.pixel(viewportTopLeft + QPoint(-3, 200))), accent);
    EXPECT_EQ(QColor(screen.pixel(viewportTopLeft + QPoint(200, 402))), accent);
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    ASSERT_EQ(result->image.size(), page.size());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), page);
}

TEST_F(ScrollingOnX11, ScrollingUpStitchesThePageFromBottomToTop) {
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    ASSERT_TRUE(waitUntil([this] { return showsPageAt(page.height() - 400); }));
    const auto result = capture(ScrollDirection::up);
    ASSERT_TRUE(result);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    ASSERT_EQ(result->image.size(), page.size());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), page);
}

TEST_F(ScrollingOnX11, EscHeldForAMomentEndsTheCaptureKeepingWhatWasStitched) {
    QProcess xdotool;
    const auto result = capture(ScrollDirection::down, [&] {
        // Once the page is turning; held about as long as a finger rests on the key, while the
        // event loop keeps running.
        waitUntil([&] { return view.verticalScrollBar()->value() > 0; });
        testsupport::startProgram(xdotool, QStringLiteral("xdotool"),
                                  {"keydown", "Escape", "sleep", "0.08", "keyup", "Escape"});
    });
    waitUntil([&] { return xdotool.state() == QProcess::NotRunning; });
    EXPECT_LT(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    ASSERT_TRUE(result);
    // The top of the page, as far as it was stitched before the key.
    const int rows = result->image.height();
    EXPECT_GE(rows, view.viewport()->height());
    EXPECT_LT(rows, page.height());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), page.copy(0, 0, page.width(), rows));
}

} // namespace
