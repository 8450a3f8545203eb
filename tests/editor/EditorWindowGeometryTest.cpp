#include "editor/EditorWindowGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace editorgeometry;

namespace {

struct SizeCase {
    const char* name;
    QSizeF image;
    QSizeF visible;
    QSizeF content;
};

class InitialContentSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(InitialContentSize, FitsTheImageWithinTheScreenAndTheMinimumWidth) {
    const SizeCase& c = GetParam();
    const QSizeF size = initialContentSize(c.image, c.visible);
    EXPECT_DOUBLE_EQ(size.width(), c.content.width());
    EXPECT_DOUBLE_EQ(size.height(), c.content.height());
}

INSTANTIATE_TEST_SUITE_P(
    Editor, InitialContentSize,
    ::testing::Values(
        // A small image gets the 560-point minimum width and its own height plus the toolbar.
        SizeCase{"small", {400, 300}, {1440, 870}, {560, 346}},
        SizeCase{"justWiderThanMinimum", {561, 300}, {1440, 870}, {561, 346}},
        SizeCase{"fitsExactly", {1000, 600}, {1440, 870}, {1000, 646}},
        // 90 % of 1440 × 870 is 1296 × 783; the toolbar comes out of the height.
        SizeCase{"large", {4000, 3000}, {1440, 870}, {1296, 783}},
        SizeCase{"tallOnly", {300, 5000}, {1440, 870}, {560, 783}},
        // A screen too narrow for the minimum wins over it.
        SizeCase{"narrowScreen", {400, 300}, {500, 400}, {450, 346}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorLabels, SizeLabelDropsFractionsOfPoints) {
    EXPECT_EQ(sizeLabel({1440, 900}), QStringLiteral("1440×900pt"));
    EXPECT_EQ(sizeLabel({2881 / 2.0, 1799 / 2.0}), QStringLiteral("1440×899pt"));
    EXPECT_EQ(sizeLabel({0.5, 3}), QStringLiteral("0×3pt"));
}

TEST(EditorLabels, ZoomLabelRoundsHalvesAwayFromZero) {
    const std::pair<double, const char*> cases[] = {
        {1.0, "100%"},  {std::pow(1.25, 7), "477%"},
        {0.125, "13%"}, {0.625, "63%"},
        {0.374, "37%"}, {0.1, "10%"},
        {8.0, "800%"},
    };
    for (const auto& [m, text] : cases)
        EXPECT_EQ(zoomLabel(m), QLatin1String(text)) << m;
}

struct ZoomCase {
    const char* name;
    bool prefer100;
    QSizeF clip;
    QSizeF image;
    double zoom;
};

class InitialZoom : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(InitialZoom, FitsButNeverEnlarges) {
    const ZoomCase& c = GetParam();
    EXPECT_DOUBLE_EQ(initialZoom(c.prefer100, c.clip, c.image), c.zoom);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, InitialZoom,
    ::testing::Values(ZoomCase{"preferredFullSize", true, {1296, 737}, {4000, 3000}, 1.0},
                      ZoomCase{"heightLimits", false, {1296, 737}, {4000, 3000}, 737.0 / 3000.0},
                      ZoomCase{"widthLimits", false, {1296, 737}, {5184, 1000}, 0.25},
                      ZoomCase{"smallImageStaysAtFullSize", false, {560, 300}, {400, 300}, 1.0},
                      ZoomCase{"veryTallImageStopsAtTheMinimum", false, {560, 737}, {100, 100000}, 0.1},
                      ZoomCase{"emptyImage", false, {560, 737}, {0, 0}, 1.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorZoom, WheelFactorFollowsTheDeltaAndItsDirectionSetting) {
    struct Row {
        double start, delta;
        bool reverse;
        double result;
    };
    const Row rows[] = {
        {1.0, 120, false, 2.0}, {1.0, 60, false, 1.5},   {1.0, 60, true, 0.5},
        {1.0, -60, true, 1.5},  {1.0, -240, false, 0.1}, // a factor of −1 is clamped, not applied
        {1.0, 240, true, 0.1},  {6.0, 120, false, 8.0},  {1.0, 0, false, 1.0},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(wheelZoom(r.start, r.delta, r.reverse), r.result) << r.delta << " " << r.reverse;
}

} // namespace
