// The scrolling capture over a real document viewer that turns pages: within a page each wheel
// notch moves the text a little, past a page's end it shows the next page from its top. Pages of
// text lines look alike row by row, so a page turn is where a stitch could silently lose or double
// rows. The viewer's pixels are known from the same renderer drawing the pages to files.
#include "ScrollingX11Fixture.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "scrolling/ScrollingCapture.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/TextDocument.h"
#include "support/x11/X11TestSupport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testsupport::waitUntil;

constexpr int kPages = 3;
// Pages a few steps tall, so the capture stitches within a page before it reaches a page turn.
constexpr QSize kPagePoints(420, 2600);

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

class PagingViewerOnX11 : public ScrollingX11Fixture {
  protected:
    void SetUp() override {
        ScrollingX11Fixture::SetUp();
        const QString pdf = dir.filePath(QStringLiteral("pages.pdf"));
        testsupport::writeTextDocument(pdf, kPagePoints, kPages);
        // 72 dpi: one point is one pixel, on the screen and in the files.
        const auto drawn = testsupport::runProgram(
            QStringLiteral("mutool"),
            {"draw", "-r", "72", "-o", dir.filePath(QStringLiteral("page%d.png")), pdf}, 30000);
        ASSERT_TRUE(drawn.ok()) << drawn.err.toStdString();
        for (int page = 1; page <= kPages; ++page) {
            pages.push_back(rgb(QImage(dir.filePath(QStringLiteral("page%1.png").arg(page)))));
            ASSERT_EQ(pages.back().size(), kPagePoints);
        }
        ASSERT_TRUE(testsupport::startProgram(viewer, QStringLiteral("mupdf"), {"-r", "72", pdf}));
        const QString id = x11test::xdotool({"search", "--sync", "--onlyvisible", "--class", "mupdf"});
        ASSERT_FALSE(id.isEmpty());
        window = x11test::clientRectOf(id.split(u'\n').front().toUInt());
        // The window is the page's width and shorter than a page: the viewer scrolls within it.
        ASSERT_EQ(window.width(), kPagePoints.width());
        ASSERT_LT(window.height(), kPagePoints.height());
        ASSERT_TRUE(
            waitUntil([this] { return shown() == pages[0].copy(0, 0, window.width(), window.height()); },
                      x11test::firstWindowMs));
    }

    void TearDown() override {
        if (ScrollingCapture* c = ScrollingCapture::active()) c->cancel();
        waitUntil([] { return ScrollingCapture::active() == nullptr; });
        ToastHUD::dismiss();
        viewer.kill();
        viewer.waitForFinished(5000);
    }

    QImage shown() const {
        return rgb(QGuiApplication::primaryScreen()
                       ->grabWindow(0, window.x(), window.y(), window.width(), window.height())
                       .toImage());
    }

    std::optional<CapturedImage> capture() {
        const Screens& screens = Platform::current().screens();
        const ScreenInfo screen = screens.screens().front();
        const QRectF region =
            screens.converter().qtToBottomLeft(QRectF(window)).translated(-screen.frame.topLeft());
        bool done = false;
        std::optional<CapturedImage> result;
        EXPECT_NE(ScrollingCapture::start(
                      ScrollDirection::down, screen, region,
                      [&](const std::optional<CapturedImage>& image) {
                          result = image;
                          done = true;
                      },
                      *settings),
                  nullptr);
        EXPECT_TRUE(waitUntil([&] { return done; }, 120000));
        return result;
    }

    // The document as one column: the pages one below the other.
    QImage document() const {
        QImage all(kPagePoints.width(), kPagePoints.height() * kPages, QImage::Format_RGB32);
        QPainter painter(&all);
        for (int page = 0; page < kPages; ++page)
            painter.drawImage(0, page * kPagePoints.height(), pages[page]);
        return all;
    }

    std::vector<QImage> pages;
    QProcess viewer;
    QRect window;
};

TEST_F(PagingViewerOnX11, APageTurnNeverLosesOrDoublesARow) {
    const auto result = capture();
    ASSERT_TRUE(result);
    const QImage stitched = rgb(result->image);
    const QImage all = document();
    // It went past the first window's worth, and every row it kept is the document's, in order.
    ASSERT_GT(stitched.height(), window.height());
    ASSERT_LE(stitched.height(), all.height());
    EXPECT_EQ(stitched, all.copy(0, 0, all.width(), stitched.height()));
    // Short of the whole document only with the user told why.
    if (stitched.height() < all.height()) {
        ASSERT_TRUE(waitUntil([] { return ToastHUD::current() != nullptr; }));
        EXPECT_EQ(ToastHUD::current()->message(), QStringLiteral("Scrolling stopped: the page jumped"));
    }
}

} // namespace
