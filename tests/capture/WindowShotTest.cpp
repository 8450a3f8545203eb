#include "capture/WindowShot.h"
#include "capture/CaptureEngine.h"
#include "capture/SoftShadow.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A window's own pixels, with an alpha channel as window captures have.
CapturedImage windowCapture(int w, int h, double scale, QColor colour = QColor(200, 30, 30)) {
    return testsupport::solidCapture(QSize(w, h), colour, scale, QImage::Format_ARGB32_Premultiplied);
}

int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

TEST(WindowShot, SolidAddsTheMarginInPointsOnEverySide) {
    const CapturedImage out =
        windowshot::compose(windowCapture(400, 300, 2.0), WindowBGStyle::solid, Qt::white, QImage());
    EXPECT_EQ(out.image.size(), QSize(592, 492));
    EXPECT_EQ(out.scale, 2.0);
    EXPECT_EQ(out.image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.image.pixel(96, 96), qRgb(200, 30, 30)); // the window starts at the margin
    EXPECT_EQ(out.image.pixel(495, 395), qRgb(200, 30, 30));
    EXPECT_NE(out.image.pixel(300, 400), qRgb(255, 255, 255)); // shadow just below the window
}

TEST(WindowShot, TrimShadowReturnsTheCaptureItself) {
    const CapturedImage in = windowCapture(400, 300, 2.0);
    const CapturedImage out = windowshot::compose(in, WindowBGStyle::trimShadow, Qt::white, QImage());
    EXPECT_EQ(out.image.width(), 400);
    EXPECT_EQ(out.image.cacheKey(), in.image.cacheKey());
}

TEST(WindowShot, TransparentMarginHoldsOnlyTheShadowCastDownwards) {
    const CapturedImage out =
        windowshot::compose(windowCapture(200, 100, 1.0), WindowBGStyle::transparent, QColor(), QImage());
    const QImage& img = out.image;
    ASSERT_EQ(img.size(), QSize(296, 196));
    // The corners lie beyond the shadow's reach (8 px offset + about 2 sigma = 24 px of blur).
    EXPECT_EQ(alphaAt(img, 0, 0), 0);
    EXPECT_EQ(alphaAt(img, 295, 195), 0);
    // Directly below the window the shadow is darker than the same distance above it.
    const int cx = 148;
    EXPECT_GT(alphaAt(img, cx, 148 + 6), alphaAt(img, cx, 48 - 7));
    EXPECT_GT(alphaAt(img, cx, 148 + 6), 0);
    // Never darker than the shadow's own alpha (0.45).
    for (int y = 149; y < 196; ++y)
        EXPECT_LE(alphaAt(img, cx, y), 116) << y;
    // Left and right edges get the same shadow.
    EXPECT_EQ(alphaAt(img, 48 - 5, 100), alphaAt(img, 248 + 4, 100));
}

TEST(WindowShot, ShadowFollowsTransparentCorners) {
    // A window whose top-left corner is cut away casts no shadow there.
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(10, 120, 10));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, 0);
    const QImage out =
        windowshot::compose(CapturedImage{image, 1.0}, WindowBGStyle::transparent, QColor(), QImage()).image;
    EXPECT_LT(alphaAt(out, 48 + 5, 48 + 5), 40);     // inside the cut corner: faint at most
    EXPECT_GT(alphaAt(out, 48 + 190, 48 + 99), 200); // the window itself
}

TEST(WindowShot, AspectFillCoversAndCentres) {
    const QRectF r = windowshot::aspectFill(QSizeF(3000, 1000), QSizeF(592, 492));
    EXPECT_DOUBLE_EQ(r.width(), 1476.0);
    EXPECT_DOUBLE_EQ(r.height(), 492.0);
    EXPECT_DOUBLE_EQ(r.x(), -442.0);
    EXPECT_DOUBLE_EQ(r.y(), 0.0);
    const QRectF tall = windowshot::aspectFill(QSizeF(100, 1000), QSizeF(200, 100));
    EXPECT_DOUBLE_EQ(tall.width(), 200.0);
    EXPECT_DOUBLE_EQ(tall.y(), -950.0);
}

TEST(WindowShot, WallpaperIsDrawnCentredAcrossTheCanvas) {
    // Left third red, middle green, right third blue: only the middle is visible behind a canvas
    // of about the middle's aspect ratio.
    QImage wall(3000, 1000, QImage::Format_RGB32);
    wall.fill(Qt::green);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 3000; ++x)
            if (x < 1000)
                wall.setPixel(x, y, qRgb(255, 0, 0));
            else if (x >= 2000)
                wall.setPixel(x, y, qRgb(0, 0, 255));
    const QImage out =
        windowshot::compose(windowCapture(400, 300, 2.0), WindowBGStyle::wallpaper, QColor(), wall).image;
    ASSERT_EQ(out.size(), QSize(592, 492));
    // 0.492 per wallpaper pixel: the red third ends at 492 − 442 = 50 on the canvas.
    EXPECT_EQ(out.pixel(10, 5), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(60, 5), qRgb(0, 255, 0));
    EXPECT_EQ(out.pixel(585, 5), qRgb(0, 0, 255));
}

class ComposeThroughEngine : public testing::Test {
  protected:
    void SetUp() override {
        platform = &FakePlatform::installNew();
        screen = platform->fakeScreens.addScreen(QRectF(0, 0, 800, 600));
    }
    FakePlatform* platform = nullptr;
    ScreenInfo screen;
};

TEST_F(ComposeThroughEngine, WallpaperFallsBackToIndigo) {
    const CapturedImage shot = windowCapture(100, 80, 1.0);
    const QColor indigo = windowshot::indigo();
    // No screen; a screen without a known picture; a picture file that does not load.
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not an image");
    f.close();
    platform->fakeWorkspace.desktopPictures[screen.displayId + 1] = broken;
    ScreenInfo other = screen;
    other.displayId = screen.displayId + 1;
    for (const std::optional<ScreenInfo>& s :
         {std::optional<ScreenInfo>(), std::optional(screen), std::optional(other)}) {
        const QImage out = CaptureEngine::composeWindowShot(shot, WindowBGStyle::wallpaper, s).image;
        ASSERT_EQ(out.size(), QSize(196, 176));
        EXPECT_EQ(out.pixelColor(2, 2), indigo);
    }
}

TEST_F(ComposeThroughEngine, WallpaperFileOfTheScreenIsUsed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wall.png"));
    QImage wall(400, 300, QImage::Format_RGB32);
    wall.fill(QColor(250, 200, 0));
    ASSERT_TRUE(wall.save(path));
    platform->fakeWorkspace.desktopPictures[screen.displayId] = path;
    const QImage out =
        CaptureEngine::composeWindowShot(windowCapture(100, 80, 1.0), WindowBGStyle::wallpaper, screen).image;
    EXPECT_EQ(out.pixel(2, 2), qRgb(250, 200, 0));
}

TEST(SoftShadow, BlurSpreadsLikeAGaussianOfHalfTheRadius) {
    // An opaque stripe 11 pixels wide down a tall image: across the middle row the blurred profile
    // is symmetric, peaks in the middle, keeps the stripe's mass and spreads it as a
    // Gaussian of sigma = radius / 2 would.
    const int w = 201, h = 301;
    std::vector<uchar> alpha(static_cast<size_t>(w * h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 95; x <= 105; ++x)
            alpha[static_cast<size_t>(y * w + x)] = 255;
    softshadow::blurAlpha(alpha.data(), w, h, w, 20.0);
    const uchar* line = alpha.data() + 150 * w;
    for (int d = 0; d < 100; ++d)
        EXPECT_NEAR(line[100 - d], line[100 + d], 1) << d;
    EXPECT_GE(line[100], line[95]);
    EXPECT_GT(line[95], line[90]);
    EXPECT_GT(line[100 + 5 + 10], 10); // spread one sigma past the edge
    double total = 0, within = 0;
    for (int x = 0; x < w; ++x) {
        total += line[x];
        if (x >= 100 - 5 - 10 && x <= 100 + 5 + 10) within += line[x];
    }
    EXPECT_NEAR(total, 11 * 255, 11 * 255 * 0.03);
    // A Gaussian of sigma 10 keeps 86 % of this stripe's mass within one sigma of its edges.
    EXPECT_NEAR(within / total, 0.86, 0.03);
    EXPECT_EQ(line[0], 0);
}

TEST(SoftShadow, ShadowImageIsGrownByTheRadius) {
    QImage square(200, 200, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::black);
    const auto shadow = softshadow::make(square, 24.0, QColor(0, 0, 0, 115));
    EXPECT_EQ(shadow.margin, 24);
    EXPECT_EQ(shadow.image.size(), QSize(248, 248));
    EXPECT_EQ(qAlpha(shadow.image.pixel(124, 124)), 115); // far from the edges: the shadow's full alpha
    EXPECT_NEAR(qAlpha(shadow.image.pixel(24, 124)), 115 / 2, 3); // on the edge: about half
    EXPECT_EQ(qAlpha(shadow.image.pixel(0, 0)), 0);
}

} // namespace
