// The arithmetic of a scrolling capture: waits, limits, step distances, wheel notches and the
// places its region takes in each space.
#include "scrolling/ScrollStep.h"
#include "platform/Geometry.h"
#include "scrolling/ScrollRegion.h"
#include "scrolling/WheelCalibration.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct WaitCase {
    double speed;
    double seconds;
};
class StepWait : public ::testing::TestWithParam<WaitCase> {};
TEST_P(StepWait, FollowsTheSpeed) {
    EXPECT_NEAR(scrollstep::waitSeconds(GetParam().speed), GetParam().seconds, 1e-9);
}
INSTANTIATE_TEST_SUITE_P(Speeds, StepWait,
                         ::testing::Values(WaitCase{0, 1.07}, WaitCase{0.5, 0.695}, WaitCase{1, 0.32},
                                           WaitCase{4, 0.32}, WaitCase{-0.1, 1.07}, WaitCase{0.6, 0.62}));

struct LimitCase {
    qint64 setting;
    qint64 limit;
};
class HeightLimit : public ::testing::TestWithParam<LimitCase> {};
TEST_P(HeightLimit, NeverBelowAThousandPixels) {
    EXPECT_EQ(scrollstep::maximumHeight(GetParam().setting), GetParam().limit);
}
INSTANTIATE_TEST_SUITE_P(Settings, HeightLimit,
                         ::testing::Values(LimitCase{500, 1000}, LimitCase{-5, 1000}, LimitCase{999, 1000},
                                           LimitCase{1000, 1000}, LimitCase{1001, 1001},
                                           LimitCase{20000, 20000}));

struct DeltaCase {
    double regionHeight;
    ScrollDirection direction;
    bool reverse;
    int delta;
};
class WheelDelta : public ::testing::TestWithParam<DeltaCase> {};
TEST_P(WheelDelta, IsTwoThirdsOfTheRegionSignedByDirection) {
    const DeltaCase& c = GetParam();
    EXPECT_EQ(scrollstep::wheelDelta(c.direction, scrollstep::distance(c.regionHeight), c.reverse), c.delta);
}
INSTANTIATE_TEST_SUITE_P(Regions, WheelDelta,
                         ::testing::Values(DeltaCase{400, ScrollDirection::down, false, -272},
                                           DeltaCase{400, ScrollDirection::up, false, 272},
                                           DeltaCase{400, ScrollDirection::down, true, 272},
                                           DeltaCase{400, ScrollDirection::up, true, -272},
                                           DeltaCase{100.9, ScrollDirection::down, false, -68},
                                           DeltaCase{1, ScrollDirection::down, false, 0}));

TEST(ProgressText, ShowsWholePointsOfThePixelHeight) {
    EXPECT_EQ(scrollstep::progressText(1251, 2.0), QStringLiteral("Scrolling… 625 pt (Esc to stop)"));
}

struct CutCase {
    QRectF region;
    double scale;
    int imageHeight;
    QRect cut;
};
class FrameCut : public ::testing::TestWithParam<CutCase> {};
TEST_P(FrameCut, FlipsAgainstTheImageAndRoundsOutward) {
    const CutCase& c = GetParam();
    EXPECT_EQ(scrollregion::frameCutRect(c.region, c.scale, c.imageHeight), c.cut);
}
INSTANTIATE_TEST_SUITE_P(
    Regions, FrameCut,
    ::testing::Values(CutCase{QRectF(10, 20, 100, 50), 2.0, 2000, QRect(20, 1860, 200, 100)},
                      CutCase{QRectF(0, 0, 800, 600), 1.0, 600, QRect(0, 0, 800, 600)},
                      CutCase{QRectF(1, 1, 10, 10), 1.5, 300, QRect(1, 283, 16, 16)},
                      CutCase{QRectF(10.25, 5, 20, 30.5), 1.0, 100, QRect(10, 64, 21, 31)}));

TEST(PointerTarget, IsTheRegionCentreInTheTopLeftSpace) {
    // A second screen to the right of a 1920 × 1080 primary.
    EXPECT_EQ(scrollregion::pointerTarget(QRectF(100, 100, 200, 100), QRectF(1920, 0, 1280, 1024), 1080),
              QPointF(2120, 930));
    EXPECT_EQ(scrollregion::pointerTarget(QRectF(0, 0, 800, 600), QRectF(0, 0, 800, 600), 600),
              QPointF(400, 300));
}

// Where the pictures may show the pointer it waits clear of the region, on the region's screen
// (here the second one, right of a 1920 × 1080 primary), and nowhere when there is no such room.
TEST(PointerParking, IsClearOfTheRegionOnItsScreenOrNowhere) {
    const QRectF second(1920, 0, 1280, 1024);
    const auto park = [&](const QRectF& region) { return scrollregion::parkingPoint(region, second, 1080); };
    // Room below: its bottom edge is at top-left y 212.
    EXPECT_EQ(park(QRectF(100, 868, 200, 100)), QPointF(2120, 276));
    // Flush with the bottom: above it.
    EXPECT_EQ(park(QRectF(100, 0, 200, 100)), QPointF(2120, 916));
    // As tall as the screen, flush left: to its right.
    EXPECT_EQ(park(QRectF(0, 0, 600, 1024)), QPointF(2584, 568));
    // The whole screen: no room at all.
    EXPECT_EQ(park(QRectF(0, 0, 1280, 1024)), std::nullopt);
}

struct LayoutCase {
    const char* name;
    QRectF region; // Qt coordinates
    std::optional<QPoint> labelAt;
};
class BorderLayout : public ::testing::TestWithParam<LayoutCase> {};
TEST_P(BorderLayout, KeepsRingAndLabelOutsideTheCutPixels) {
    const QRectF screen(0, 0, 1000, 800);
    const LayoutCase& c = GetParam();
    const auto layout = scrollregion::borderLayout(c.region, screen);
    // Whatever pixels a frame takes, at a scale of 1 or 2, lie inside the hole.
    for (double scale : {1.0, 1.5, 2.0}) {
        const QRectF regionPixels(c.region.topLeft() * scale, c.region.size() * scale);
        const QRectF cutPoints(geometry::integralRect(regionPixels).topLeft() / scale,
                               geometry::integralRect(regionPixels).size() / scale);
        EXPECT_TRUE(QRectF(layout.hole).contains(cutPoints)) << scale;
    }
    EXPECT_EQ(layout.ring, layout.hole.adjusted(-3, -3, 3, 3));
    ASSERT_EQ(layout.label.has_value(), c.labelAt.has_value());
    if (layout.label) {
        EXPECT_EQ(layout.label->topLeft(), *c.labelAt);
        EXPECT_EQ(layout.label->size(), QSize(210, 18));
        EXPECT_FALSE(layout.label->intersects(layout.ring));
        EXPECT_TRUE(layout.window.contains(*layout.label));
    }
    EXPECT_TRUE(layout.window.contains(layout.ring));
}
INSTANTIATE_TEST_SUITE_P(
    Regions, BorderLayout,
    ::testing::Values(LayoutCase{"below", QRectF(100, 100, 300, 200), QPoint(96, 304)},
                      LayoutCase{"aboveWhenNoRoomBelow", QRectF(100, 300, 300, 490), QPoint(96, 278)},
                      LayoutCase{"fractional", QRectF(100.5, 100.5, 300, 200), QPoint(96, 305)},
                      LayoutCase{"keptOnScreenAtTheRightEdge", QRectF(900, 100, 90, 100), QPoint(790, 204)},
                      LayoutCase{"noRoomAtAll", QRectF(0, 0, 1000, 800), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

QImage stripes(int rows, const QColor& colour) {
    QImage image(64, rows, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < rows; y += 8)
        painter.fillRect(0, y, 64, 4, colour);
    return image;
}

TEST(QuickHash, EqualForEqualFramesAndChangesWithTheContent) {
    const QImage a = stripes(300, Qt::blue);
    EXPECT_EQ(scrollstep::quickHash(a), scrollstep::quickHash(a.copy()));
    EXPECT_NE(scrollstep::quickHash(a), scrollstep::quickHash(stripes(300, Qt::red)));
    // One row moved: what a scroll by one pixel does.
    EXPECT_NE(scrollstep::quickHash(a), scrollstep::quickHash(stripes(301, Qt::blue).copy(0, 1, 64, 300)));
    EXPECT_EQ(scrollstep::quickHash(QImage()), 0u);
}

struct Observation {
    int clicks;
    int addedRows;
};
struct CalibrationCase {
    const char* name;
    std::vector<Observation> observed;
    int frameHeight;
    int pixels;
    int clicks;
};
class Calibration : public ::testing::TestWithParam<CalibrationCase> {};
TEST_P(Calibration, AimsAtTheDistanceWithoutOvershooting) {
    const CalibrationCase& c = GetParam();
    WheelCalibration calibration;
    for (const Observation& o : c.observed)
        calibration.observe(o.clicks, o.addedRows, c.frameHeight);
    EXPECT_EQ(calibration.clicksFor(c.pixels), c.clicks);
}
INSTANTIATE_TEST_SUITE_P(
    Steps, Calibration,
    ::testing::Values(CalibrationCase{"probeFirst", {}, 400, 272, 1},
                      CalibrationCase{"fromOneNotch", {{1, 37}}, 400, 272, 7},
                      CalibrationCase{"roundsDown", {{1, 40}}, 400, 279, 6},
                      CalibrationCase{"latestCounts", {{1, 37}, {7, 280}}, 400, 272, 6},
                      CalibrationCase{"rejectedStepTeachesNothing", {{1, 37}, {7, 0}}, 400, 272, 7},
                      CalibrationCase{"notchLargerThanStep", {{1, 300}}, 400, 272, 1},
                      CalibrationCase{"unmatchedFrameMeansTooFar", {{1, 20}, {13, 400}}, 400, 272, 8},
                      CalibrationCase{"unmatchedNeverLowersTheEstimate", {{1, 100}, {2, 40}}, 40, 272, 2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
