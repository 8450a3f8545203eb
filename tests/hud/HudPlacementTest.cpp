#include "hud/HudPlacement.h"

#include <gtest/gtest.h>

using namespace hudplacement;

namespace {

ScreenInfo screenWithVisibleFrame(const QRectF& frame, const QRectF& visible) {
    ScreenInfo s;
    s.frame = frame;
    s.visibleFrame = visible;
    s.scale = 2.0;
    return s;
}

} // namespace

TEST(ToastPlacement, CentredOnTheVisibleFrameSixtyPointsAboveItsBottom) {
    // A panel at the bottom (visible frame starts at y 30) and one at the left (x 50).
    const auto screen = screenWithVisibleFrame(QRectF(0, 0, 1440, 900), QRectF(50, 30, 1390, 870));
    const QRectF frame = toastFrame(QSizeF(201, 36), screen);
    EXPECT_DOUBLE_EQ(frame.center().x(), 50 + 1390 / 2.0);
    EXPECT_DOUBLE_EQ(frame.y(), 90.0);
    EXPECT_EQ(frame.size(), QSizeF(201, 36));
}

TEST(ToastPlacement, OnASecondaryScreenLeftOfThePrimary) {
    const auto screen =
        screenWithVisibleFrame(QRectF(-1920, -200, 1920, 1080), QRectF(-1920, -200, 1920, 1050));
    const QRectF frame = toastFrame(QSizeF(100, 40), screen);
    EXPECT_EQ(frame, QRectF(-960 - 50, -140, 100, 40));
}

struct ThumbnailCase {
    const char* name;
    QSizeF imagePoints;
    QSizeF expected;
};

class ThumbnailSize : public ::testing::TestWithParam<ThumbnailCase> {};

TEST_P(ThumbnailSize, FollowsTheWidthRuleAndMinimum) {
    const auto& c = GetParam();
    const QSizeF size = thumbnailSize(c.imagePoints);
    EXPECT_DOUBLE_EQ(size.width(), c.expected.width());
    EXPECT_DOUBLE_EQ(size.height(), c.expected.height());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ThumbnailSize,
    ::testing::Values(ThumbnailCase{"retinaDisplay", QSizeF(1440, 900), QSizeF(260, 162.5)},
                      ThumbnailCase{"smallNotEnlarged", QSizeF(100, 50), QSizeF(100, 50)},
                      ThumbnailCase{"exactlyMaxWidth", QSizeF(260, 100), QSizeF(260, 100)},
                      ThumbnailCase{"flatStripRaisedToMinHeight", QSizeF(1000, 20), QSizeF(260, 40)},
                      ThumbnailCase{"narrowColumnRaisedToMinWidth", QSizeF(20, 500), QSizeF(60, 500)},
                      ThumbnailCase{"tinyImage", QSizeF(3, 2), QSizeF(60, 40)},
                      ThumbnailCase{"tallAndWide", QSizeF(520, 2000), QSizeF(260, 1000)},
                      ThumbnailCase{"emptyImage", QSizeF(0, 0), QSizeF(60, 40)},
                      ThumbnailCase{"nonFinite", QSizeF(std::numeric_limits<double>::infinity(), 10),
                                    QSizeF(60, 40)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ThumbnailPlacement, TwentyPointsInFromTheRightAndBottomOfTheVisibleFrame) {
    const auto screen = screenWithVisibleFrame(QRectF(1440, 0, 1920, 1080), QRectF(1440, 40, 1880, 1040));
    const QRectF frame = thumbnailFrame(QSizeF(260, 162.5), screen);
    EXPECT_DOUBLE_EQ(frame.right(), 1440 + 1880 - 20);
    EXPECT_DOUBLE_EQ(frame.y(), 60.0);
    EXPECT_EQ(frame.size(), QSizeF(260, 162.5));
}

TEST(AspectFit, LetterboxesAFlatImageAndPillarboxesATallOne) {
    const QRectF flat = aspectFit(QSizeF(1000, 20), QRectF(0, 0, 260, 40));
    EXPECT_DOUBLE_EQ(flat.width(), 260.0);
    EXPECT_DOUBLE_EQ(flat.height(), 5.2);
    EXPECT_DOUBLE_EQ(flat.center().y(), 20.0);

    const QRectF tall = aspectFit(QSizeF(20, 500), QRectF(0, 0, 60, 500));
    EXPECT_DOUBLE_EQ(tall.width(), 20.0);
    EXPECT_DOUBLE_EQ(tall.x(), 20.0);

    EXPECT_TRUE(aspectFit(QSizeF(0, 10), QRectF(0, 0, 60, 40)).isEmpty());
}

TEST(QtWindowGeometry, ConvertsToTopLeftAndRoundsTheSizeUpKeepingTheBottomEdge) {
    // Primary screen 1440 × 900 at Qt's origin; a frame 20 pt above the bottom edge.
    const geometry::SpaceConverter converter(QRectF(0, 0, 1440, 900));
    const QRect g = qtWindowGeometry(QRectF(1160, 20, 260, 162.5), converter);
    EXPECT_EQ(g.width(), 260);
    EXPECT_EQ(g.height(), 163);
    EXPECT_EQ(g.x(), 1160);
    EXPECT_EQ(g.y() + g.height(), 880); // Qt's bottom edge (exclusive) stays 20 pt above 900
}
