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

TEST(PinPlacement, WindowNeverShrinksBelowOnePoint) {
    EXPECT_EQ(pingeometry::windowSize(QSizeF(800, 500), 0.2), QSizeF(160, 100));
    EXPECT_EQ(pingeometry::windowSize(QSizeF(2, 0), 0.2), QSizeF(1, 1));
}

} // namespace
