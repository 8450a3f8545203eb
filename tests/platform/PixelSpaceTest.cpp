#include "platform/PixelSpace.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

TEST(PixelSpace, EachScreenConvertsWithItsOwnScale) {
    FakeScreens screens;
    screens.addScreen(QRectF(0, 0, 1000, 500), 2.0);   // pixels (0, 0, 2000, 1000)
    screens.addScreen(QRectF(1000, 0, 800, 600), 1.0); // top-left space (1000, -100): pixels at y −100
    const auto& list = screens.screenList;
    EXPECT_EQ(list[1].pixelRect, QRect(1000, -100, 800, 600));
    EXPECT_EQ(pixelspace::pixelsToTopLeftPoints(QRect(200, 100, 400, 300), list), QRectF(100, 50, 200, 150));
    // A window on the second screen: one pixel per point there, offset by that screen's origin.
    const QRect second(list[1].pixelRect.x() + 10, list[1].pixelRect.y() + 20, 300, 200);
    EXPECT_EQ(pixelspace::pixelsToTopLeftPoints(second, list), QRectF(1010, -80, 300, 200));
    EXPECT_EQ(pixelspace::screenForPixels(QRect(5000, 5000, 5, 5), list)->displayId, 1u);
    EXPECT_EQ(pixelspace::pixelsToTopLeftPoints(QRect(1, 2, 3, 4), {}), QRectF(1, 2, 3, 4));
}

} // namespace
