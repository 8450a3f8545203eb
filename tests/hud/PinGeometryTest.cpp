#include "hud/PinGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ZoomCase {
    const char* name;
    double scale;
    double delta;
    double expected;
};

class PinZoomStep : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(PinZoomStep, MultipliesAndClamps) {
    const ZoomCase& c = GetParam();
    EXPECT_DOUBLE_EQ(pingeometry::zoomedScale(c.scale, c.delta), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, PinZoomStep,
                         ::testing::Values(ZoomCase{"up20", 1.0, 20, 1.1}, ZoomCase{"down20", 1.0, -20, 0.9},
                                           ZoomCase{"noScroll", 1.7, 0, 1.7},
                                           ZoomCase{"capAtFour", 3.9, 20, 4.0},
                                           ZoomCase{"floorAtFifth", 0.21, -20, 0.2},
                                           // A fling beyond -200 would make the factor negative.
                                           ZoomCase{"hugeNegative", 1.0, -500, 0.2},
                                           ZoomCase{"hugePositive", 1.0, 5000, 4.0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DeltaCase {
    const char* name;
    QPoint pixel;
    QPoint angle;
    bool reverse;
    double expected;
};

class PinScrollDelta : public ::testing::TestWithParam<DeltaCase> {};

TEST_P(PinScrollDelta, PrefersThePreciseDelta) {
    const DeltaCase& c = GetParam();
    EXPECT_DOUBLE_EQ(pingeometry::scrollDelta(c.pixel, c.angle, c.reverse), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, PinScrollDelta,
    ::testing::Values(DeltaCase{"touchpad", QPoint(0, 20), QPoint(0, 160), false, 20},
                      DeltaCase{"touchpadReversed", QPoint(0, 20), QPoint(0, 160), true, -20},
                      DeltaCase{"wheelNotch", QPoint(), QPoint(0, 120), false, 20},
                      DeltaCase{"wheelNotchDown", QPoint(), QPoint(0, -120), false, -20},
                      DeltaCase{"wheelReversed", QPoint(), QPoint(0, 240), true, -40},
                      DeltaCase{"horizontalOnly", QPoint(30, 0), QPoint(240, 0), false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

ScreenInfo screenWithVisible(const QRectF& visible) {
    ScreenInfo s;
    s.frame = QRectF(0, 0, 1440, 900);
    s.visibleFrame = visible;
    return s;
}

TEST(PinPlacement, CentresOnTheVisibleFrameOrTakesTheGivenCorner) {
    const QSizeF size(800, 500);
    EXPECT_EQ(pingeometry::initialFrame(size, std::nullopt, screenWithVisible(QRectF(0, 30, 1440, 870))),
              QRectF(320, 215, 800, 500));
    // A second screen to the left: the centre is that screen's.
    EXPECT_EQ(pingeometry::initialFrame(size, std::nullopt, screenWithVisible(QRectF(-1920, 0, 1920, 1080))),
              QRectF(-1360, 290, 800, 500));
    EXPECT_EQ(
        pingeometry::initialFrame(size, QPointF(100.5, 200), screenWithVisible(QRectF(0, 30, 1440, 870))),
        QRectF(100.5, 200, 800, 500));
    EXPECT_EQ(pingeometry::initialFrame(size, std::nullopt, std::nullopt), QRectF(0, 0, 800, 500));
}

TEST(PinPlacement, ZoomedFrameKeepsItsCentre) {
    const QRectF frame(320, 215, 800, 500);
    const QRectF zoomed = pingeometry::centredOn(frame, QSizeF(880, 550));
    EXPECT_EQ(zoomed.center(), frame.center());
    EXPECT_EQ(zoomed.size(), QSizeF(880, 550));
}

TEST(PinPlacement, WindowNeverShrinksBelowOnePoint) {
    EXPECT_EQ(pingeometry::windowSize(QSizeF(800, 500), 0.2), QSizeF(160, 100));
    EXPECT_EQ(pingeometry::windowSize(QSizeF(2, 0), 0.2), QSizeF(1, 1));
}

} // namespace
