#include "platform/Geometry.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

using namespace geometry;

namespace {

TEST(Geometry, ContainmentIsHalfOpen) {
    const QRectF r(0, 0, 1920, 1080);
    EXPECT_TRUE(containsHalfOpen(r, {0, 0}));
    EXPECT_TRUE(containsHalfOpen(r, {1919.999, 1079.999}));
    EXPECT_FALSE(containsHalfOpen(r, {1920, 10}));
    EXPECT_FALSE(containsHalfOpen(r, {10, 1080}));
    EXPECT_FALSE(containsHalfOpen(r, {-0.001, 10}));
    EXPECT_TRUE(containsHalfOpen(QRectF(100, 100, -50, -50), {50, 50})); // standardized first
}

TEST(Geometry, IntegralRectGrowsOutwards) {
    EXPECT_EQ(integralRect(QRectF(20, 1860, 200, 100)), QRectF(20, 1860, 200, 100));
    EXPECT_EQ(integralRect(QRectF(0.5, 0.25, 10, 10)), QRectF(0, 0, 11, 11));
    EXPECT_EQ(integralRect(QRectF(-0.5, -1.5, 1, 1)), QRectF(-1, -2, 2, 2));
}

TEST(Geometry, TopLeftAndBottomLeftSpacesConvert) {
    // A window at (100, 50, 400, 300) on a primary screen 1080 points high.
    EXPECT_EQ(topLeftToBottomLeft(QRectF(100, 50, 400, 300), 1080), QRectF(100, 730, 400, 300));
    EXPECT_EQ(bottomLeftToTopLeft(QRectF(100, 730, 400, 300), 1080), QRectF(100, 50, 400, 300));
    EXPECT_EQ(bottomLeftToTopLeft(QPointF(10, 1080), 1080), QPointF(10, 0));
}

TEST(Geometry, QtCoordinatesAreRelativeToThePrimaryScreen) {
    // The primary screen sits right of another one in Qt's virtual desktop.
    const SpaceConverter conv(QRectF(1920, 0, 1920, 1080));
    EXPECT_EQ(conv.qtToBottomLeft(QPointF(1920, 0)), QPointF(0, 1080));
    EXPECT_EQ(conv.qtToBottomLeft(QRectF(0, 0, 1920, 1080)), QRectF(-1920, 0, 1920, 1080));
    EXPECT_EQ(conv.bottomLeftToQt(QRectF(-1920, 0, 1920, 1080)), QRectF(0, 0, 1920, 1080));
    EXPECT_EQ(conv.bottomLeftToQt(conv.qtToBottomLeft(QPointF(123, 456))), QPointF(123, 456));
    EXPECT_EQ(conv.qtToTopLeft(QRectF(1930, 10, 5, 5)), QRectF(10, 10, 5, 5));
}

TEST(FakeScreens, MainScreenFallsBackToTheFirst) {
    FakeScreens screens;
    EXPECT_EQ(screens.mainOrFirstScreen(), std::nullopt);
    EXPECT_EQ(screens.primaryMaxY(), 0.0);
    screens.addScreen(QRectF(0, 0, 1440, 900), 2.0);
    const ScreenInfo& second = screens.addScreen(QRectF(1440, 0, 1920, 1080));
    EXPECT_EQ(screens.primaryMaxY(), 900.0);
    EXPECT_EQ(screens.mainOrFirstScreen()->scale, 2.0);
    EXPECT_EQ(screens.screenWithId(second.displayId)->frame, QRectF(1440, 0, 1920, 1080));
}

} // namespace
