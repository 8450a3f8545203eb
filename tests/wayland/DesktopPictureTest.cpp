// Cutting one output out of a portal's picture of the whole desktop, for layouts whose outputs
// have different scales: each output comes back at its own size, with its own pixels.
#include "platform/wayland/DesktopPicture.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage pattern(QSize size, int seed) {
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb((x * 7 + seed) % 256, (y * 5) % 256, (x + y + seed) % 256));
    return img;
}

// Each output's own pixels, and the desktop picture a compositor makes of them at `density`
// (every output's logical pixel drawn as density × density picture pixels, as grim and the portals do).
struct Desktop {
    QList<QRect> outputs;
    QList<double> scales;
    double density;
    QList<QImage> own;
    QImage picture;

    Desktop(QList<QRect> o, QList<double> s, double d) : outputs(o), scales(s), density(d) {
        const QRect layout = desktoppicture::layoutBounds(outputs);
        picture = QImage(layout.size() * density, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QPainter p(&picture);
        for (int i = 0; i < outputs.size(); ++i) {
            own << pattern(outputs[i].size() * scales[i], i * 40);
            // Pixel-exact enlargement (no smoothing) where the picture is denser than the output.
            const QRect target(QPoint(int((outputs[i].x() - layout.x()) * density),
                                      int((outputs[i].y() - layout.y()) * density)),
                               outputs[i].size() * density);
            p.drawImage(target, own[i]);
        }
    }
};

int largestChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

struct Layout {
    const char* name;
    QList<QRect> outputs;
    QList<double> scales;
    double density;
};

class DesktopPictureCut : public ::testing::TestWithParam<Layout> {};

} // namespace

TEST_P(DesktopPictureCut, EveryOutputComesBackAtItsOwnSizeWithItsOwnPixels) {
    const Layout& l = GetParam();
    const Desktop desktop(l.outputs, l.scales, l.density);
    const QRect layout = desktoppicture::layoutBounds(l.outputs);
    for (int i = 0; i < l.outputs.size(); ++i) {
        const QImage cut = desktoppicture::outputPixels(desktop.picture, layout, l.outputs[i], l.scales[i]);
        ASSERT_EQ(cut.size(), desktop.own[i].size()) << "output " << i;
        if (l.scales[i] == l.density)
            EXPECT_EQ(cut, desktop.own[i]) << "output " << i;
        else // brought down from a denser picture: averaging equal pixels, rounding at most
            EXPECT_LE(largestChannelDifference(cut, desktop.own[i]), 1) << "output " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DesktopPictureCut,
    ::testing::Values(
        Layout{"one", {QRect(0, 0, 320, 200)}, {1.0}, 1.0},
        Layout{"mixedSideBySide", {QRect(0, 0, 320, 200), QRect(320, 0, 160, 100)}, {1.0, 2.0}, 2.0},
        // An output left of the primary one: the layout starts at a negative x.
        Layout{"negativeOrigin", {QRect(0, 0, 200, 150), QRect(-160, 40, 160, 90)}, {2.0, 2.0}, 2.0},
        Layout{"stacked", {QRect(0, 0, 240, 120), QRect(0, 120, 120, 60)}, {2.0, 1.0}, 2.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopPicture, AnOutputOutsideThePictureGivesNoPixels) {
    const QImage picture = pattern(QSize(100, 100), 0);
    EXPECT_TRUE(
        desktoppicture::outputPixels(picture, QRect(0, 0, 100, 100), QRect(50, 50, 100, 100), 1.0).isNull());
    EXPECT_TRUE(
        desktoppicture::outputPixels(QImage(), QRect(0, 0, 100, 100), QRect(0, 0, 10, 10), 1.0).isNull());
}
