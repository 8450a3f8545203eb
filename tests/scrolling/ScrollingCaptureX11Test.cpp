// The scrolling capture on a real X server: a scroll area showing a tall page whose rows all
// differ is turned by real XTest wheel notches, and the stitched image must be the page's pixels.
#include "capture/CaptureEngine.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "platform/x11/X11Platform.h"
#include "scrolling/ScrollingCapture.h"
#include "scrolling/ScrollingTestSupport.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include "scrolling/ScrollingBorder.h"
#include "scrolling/ScrollStep.h"
#include <gtest/gtest.h>

namespace {

using scrollingtest::randomRows;

void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class ScrollingOnX11 : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Settings::registerDefaults();
        Platform::install(std::make_unique<X11Platform>());
    }

    void SetUp() override {
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("Pictro.conf")));
        settings->set(keys::scrollSpeed, 1.0);
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
        ASSERT_TRUE(testsupport::waitUntil(
            [this] { return view.windowHandle() && view.windowHandle()->isExposed(); }));
        settle(300);
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
        EXPECT_TRUE(testsupport::waitUntil([&] { return done; }, 60000));
        return result;
    }

    QTemporaryDir dir;
    std::unique_ptr<Settings> settings;
    QImage page;
    QScrollArea view;
};

TEST_F(ScrollingOnX11, ScrollingDownStitchesThePageFromTopToBottom) {
    ASSERT_EQ(view.viewport()->size(), QSize(480, 400));
    QImage screen;
    bool labelFits = false;
    const auto result = capture(ScrollDirection::down, [&] {
        settle(400);
        // At the real screen's resolution a long reading still fits the progress label.
        if (ScrollingCapture* c = ScrollingCapture::active())
            if (const QLabel* label = c->borderWindow()->findChild<QLabel*>())
                labelFits = label->fontMetrics().horizontalAdvance(scrollstep::progressText(40000, 1.0)) <=
                            label->width();
        auto shot = CaptureEngine::captureDisplay(Platform::current().screens().screens().front());
        testsupport::waitUntil([&] { return shot.isFinished(); });
        if (shot.result().ok()) screen = shot.result().image().image;
    });
    ASSERT_TRUE(result);
    EXPECT_TRUE(labelFits);
    // The ring is on the screen, in the accent colour, just outside the captured pixels.
    const QPoint viewportTopLeft = view.viewport()->mapToGlobal(QPoint(0, 0));
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(QColor(screen.pixel(viewportTopLeft + QPoint(-3, 200))), view.palette().color(QPalette::Highlight));
    EXPECT_EQ(QColor(screen.pixel(viewportTopLeft + QPoint(200, 402))), view.palette().color(QPalette::Highlight));
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    ASSERT_EQ(result->image.size(), page.size());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), page);
}

TEST_F(ScrollingOnX11, ScrollingUpStitchesThePageFromBottomToTop) {
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    settle(300);
    const auto result = capture(ScrollDirection::up);
    ASSERT_TRUE(result);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    ASSERT_EQ(result->image.size(), page.size());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), page);
}

TEST_F(ScrollingOnX11, EscHeldForAMomentEndsTheCaptureKeepingWhatWasStitched) {
    QProcess xdotool;
    const auto result = capture(ScrollDirection::down, [&] {
        settle(600);
        // About as long as a finger rests on the key; the event loop keeps running meanwhile.
        xdotool.start(QStringLiteral("xdotool"), {"keydown", "Escape", "sleep", "0.08", "keyup", "Escape"});
    });
    xdotool.waitForFinished();
    EXPECT_LT(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    ASSERT_TRUE(result);
    // The top of the page, as far as it was stitched before the key.
    const int rows = result->image.height();
    EXPECT_GE(rows, view.viewport()->height());
    EXPECT_LT(rows, page.height());
    EXPECT_EQ(result->image.convertToFormat(QImage::Format_RGB32), page.copy(0, 0, page.width(), rows));
}

} // namespace
