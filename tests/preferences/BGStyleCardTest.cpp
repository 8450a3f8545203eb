#include "PreferencesTestSupport.h"

#include "preferences/BGStyleCard.h"
#include "preferences/BGStylePreview.h"
#include "preferences/BackgroundStylePicker.h"
#include "preferences/GeneralTab.h"
#include "preferences/PreferencesWindow.h"
#include "settings/SettingsKeys.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class StyleCardClickTest : public ::testing::TestWithParam<WindowBGStyle> {
  protected:
    prefstest::World world;
};

TEST_P(StyleCardClickTest, AClickWritesTheStyleAndOnlyThatCardIsSelected) {
    auto window = world.openWindow();
    const auto& cards = window->generalTab()->backgroundPicker()->cards();
    ASSERT_EQ(cards.size(), 4u);
    BGStyleCard* card = cards[static_cast<std::size_t>(GetParam())];
    QTest::mouseClick(card, Qt::LeftButton, Qt::NoModifier, card->rect().bottomRight() - QPoint(4, 4));
    EXPECT_EQ(world.settings.stringValue(keys::windowBGStyle), windowBGStyleText.rawValue(GetParam()));
    for (BGStyleCard* c : cards)
        EXPECT_EQ(c->isSelected(), c == card) << c->accessibleName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, StyleCardClickTest,
                         ::testing::Values(WindowBGStyle::wallpaper, WindowBGStyle::transparent,
                                           WindowBGStyle::solid, WindowBGStyle::trimShadow),
                         [](const auto& info) {
                             return windowBGStyleText.rawValue(info.param).toStdString();
                         });

TEST(StyleCards, InPickerOrderAndAnUnknownStoredStyleSelectsNone) {
    prefstest::World world;
    world.settings.set(keys::windowBGStyle, QStringLiteral("fancy"));
    auto window = world.openWindow();
    QStringList labels;
    for (BGStyleCard* c : window->generalTab()->backgroundPicker()->cards()) {
        labels << c->accessibleName();
        EXPECT_FALSE(c->isSelected());
        EXPECT_FALSE(c->toolTip().isEmpty());
    }
    EXPECT_EQ(labels, (QStringList{"Wallpaper", "Transparent", "Solid Color", "Trim shadow"}));
}

// Pixels of the preview at one pixel per point, in points from its top-left corner.
QColor at(const QImage& image, double x, double y) {
    return image.pixelColor(int(x), int(y));
}

TEST(StylePreview, TheTransparentPreviewCastsAShadowBelowTheWindowAndTheTrimmedOneNone) {
    const QImage transparent = bgstylepreview::render(WindowBGStyle::transparent, Qt::white, 1.0);
    const QImage trimmed = bgstylepreview::render(WindowBGStyle::trimShadow, Qt::white, 1.0);
    ASSERT_EQ(transparent.size(), QSize(110, 72));
    // The 66 × 44 window spans y 14 … 58; its shadow falls downwards.
    EXPECT_GT(at(transparent, 55, 61).alpha(), at(transparent, 55, 11).alpha());
    EXPECT_EQ(at(transparent, 3, 3).alpha(), 0) << "the margin is clear over the checkerboard";
    // The trimmed window is 92 × 60, from x 9 to 101 and y 6 to 66, with nothing around it.
    EXPECT_EQ(at(trimmed, 12, 36).rgb(), QColor::fromRgbF(0.24f, 0.24f, 0.24f).rgb());
    EXPECT_EQ(at(trimmed, 55, 69).alpha(), 0);
    EXPECT_EQ(at(trimmed, 5, 36).alpha(), 0);
}

TEST(StylePreview, TheSampleWindowIsNeutralWithItsButtonsAtTheRightOfItsTitleBar) {
    const QImage window = bgstylepreview::sampleWindow(QSizeF(66, 44), 2.0);
    int lightLeft = 0, lightRight = 0;
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) {
            const QColor c = window.pixelColor(x, y);
            if (c.alpha() < 255) continue;
            ASSERT_EQ(c.red(), c.green()) << "no coloured buttons, at " << x << "," << y;
            ASSERT_EQ(c.green(), c.blue()) << "no coloured buttons, at " << x << "," << y;
            if (c.red() > 150) ++(x < window.width() / 2 ? lightLeft : lightRight);
        }
    EXPECT_EQ(lightLeft, 0);
    EXPECT_GT(lightRight, 0);
    EXPECT_GT(window.pixelColor(66, 5).red(), window.pixelColor(66, 60).red()) << "a lighter title bar";
}

TEST(StylePreview, SolidAndWallpaperBackdropsFillTheCorners) {
    const QImage solid = bgstylepreview::render(WindowBGStyle::solid, QColor(255, 128, 0), 2.0);
    ASSERT_EQ(solid.size(), QSize(220, 144));
    EXPECT_EQ(solid.pixelColor(1, 1), QColor(255, 128, 0));
    const QImage wallpaper = bgstylepreview::render(WindowBGStyle::wallpaper, Qt::white, 1.0);
    const QColor topLeft = at(wallpaper, 0, 0), bottomRight = at(wallpaper, 109, 71);
    EXPECT_NEAR(topLeft.blueF(), 0.95, 0.02);
    EXPECT_NEAR(topLeft.greenF(), 0.45, 0.02);
    EXPECT_NEAR(bottomRight.greenF(), 0.75, 0.02);
    EXPECT_NEAR(bottomRight.blueF(), 0.85, 0.02);
}

TEST(Checkerboard, FourteenColumnsTheLastCutToSixPointsAndNineRows) {
    QImage image(110, 72, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        bgstylepreview::paintCheckerboard(p, QSizeF(110, 72));
    }
    const int dark = image.pixelColor(0, 0).alpha();
    const int light = image.pixelColor(8, 0).alpha();
    ASSERT_GT(dark, light);
    EXPECT_GT(light, 0) << "the background shows between squares";
    // Column 13 (x 104 … 110) is light in row 0 and dark in row 1; row 8 (y 64 … 72) exists whole.
    EXPECT_EQ(image.pixelColor(109, 0).alpha(), light);
    EXPECT_EQ(image.pixelColor(109, 8).alpha(), dark);
    EXPECT_EQ(image.pixelColor(96, 64).alpha(), dark); // column 12, row 8: even
    EXPECT_EQ(image.pixelColor(104, 71).alpha(), light);
}

} // namespace
