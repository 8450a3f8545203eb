#include "overlay/OverlayGeometry.h"

#include <gtest/gtest.h>

namespace og = overlaygeometry;

namespace {

WindowInfo window(quint32 id, const QRectF& frameCG, const QString& title = {}, const QString& owner = {}) {
    WindowInfo w;
    w.windowID = id;
    w.frameCG = frameCG;
    w.title = title;
    w.ownerName = owner;
    return w;
}

ScreenInfo screen(const QRectF& frame) {
    ScreenInfo s;
    s.frame = frame;
    return s;
}

} // namespace

TEST(OverlayGeometry, DragCornersNormaliseTheSameWayInEveryDirection) {
    const QRectF expected(10, 20, 30, 40);
    EXPECT_EQ(og::selectionRect({10, 20}, {40, 60}), expected);
    EXPECT_EQ(og::selectionRect({40, 60}, {10, 20}), expected);
    EXPECT_EQ(og::selectionRect({10, 60}, {40, 20}), expected);
    EXPECT_EQ(og::selectionRect({40, 20}, {10, 60}), expected);
}

struct ThresholdCase {
    QSizeF size;
    bool usable;
};
class SelectionThreshold : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(SelectionThreshold, OnlyMoreThanThreePointsBothWaysCounts) {
    const auto& c = GetParam();
    EXPECT_EQ(og::isUsableSelection(QRectF(QPointF(100, 100), c.size)), c.usable)
        << c.size.width() << "x" << c.size.height();
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectionThreshold,
                         ::testing::Values(ThresholdCase{{0, 0}, false}, ThresholdCase{{3, 3}, false},
                                           ThresholdCase{{3, 50}, false}, ThresholdCase{{50, 3}, false},
                                           ThresholdCase{{3.01, 3.01}, true}, ThresholdCase{{4, 4}, true},
                                           ThresholdCase{{1920, 1080}, true}));

TEST(OverlayGeometry, SizeReadoutTruncatesPoints) {
    EXPECT_EQ(og::sizeLabelText(QRectF(0, 0, 640.7, 480.2)), QStringLiteral("640 \u00D7 480"));
    EXPECT_EQ(og::sizeLabelText(QRectF(5, 5, 4.99, 0.5)), QStringLiteral("4 \u00D7 0"));
}

struct LabelCase {
    const char* name;
    QRectF selection;
    QPointF origin;
};
class SizeLabelPlacement : public ::testing::TestWithParam<LabelCase> {};

TEST_P(SizeLabelPlacement, MovesInsideNearTheRightAndBottomEdges) {
    const auto& c = GetParam();
    EXPECT_EQ(og::sizeLabelOrigin(c.selection, QSizeF(1000, 800)), c.origin) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SizeLabelPlacement,
    ::testing::Values(
        // Right of and below the selection by default.
        LabelCase{"open space", QRectF(100, 300, 200, 100), QPointF(308, 276)},
        // maxX 903: 911 would pass 1000 − 90, so the readout starts 90 left of the right edge.
        LabelCase{"within 98 of the right", QRectF(703, 300, 200, 100), QPointF(813, 276)},
        // maxX 902: 910 still fits.
        LabelCase{"just clear of the right", QRectF(702, 300, 200, 100), QPointF(910, 276)},
        // minY 27: 3 is below 4, so 6 above the bottom edge inside the selection.
        LabelCase{"near the bottom", QRectF(100, 27, 200, 100), QPointF(308, 33)},
        LabelCase{"exactly clear of the bottom", QRectF(100, 28, 200, 100), QPointF(308, 4)},
        LabelCase{"bottom-right corner", QRectF(800, 0, 200, 100), QPointF(910, 6)}));

TEST(OverlayGeometry, BubbleAndBadgeGeometry) {
    EXPECT_EQ(og::bubbleRect({50, 60}, {40, 14}), QRectF(44, 57, 52, 20));
    EXPECT_EQ(og::centredBubbleOrigin({100, 60}, 40), QPointF(80, 60));
    EXPECT_EQ(og::badgeOrigin(QRectF(100, 200, 300, 400)), QPointF(250, 572));
    EXPECT_EQ(og::badgeText(window(1, {}, QStringLiteral("Notes"), QStringLiteral("Editor"))),
              QStringLiteral("Notes"));
    EXPECT_EQ(og::badgeText(window(1, {}, {}, QStringLiteral("Editor"))), QStringLiteral("Editor"));
}

class WindowHitTest : public ::testing::Test {
  protected:
    // Primary 1000 × 800 at the origin; a second screen to its right, 600 high, bottoms aligned.
    const double primaryMaxY = 800;
    const ScreenInfo primary = screen(QRectF(0, 0, 1000, 800));
    const ScreenInfo right = screen(QRectF(1000, 0, 800, 600));
    // Front to back: a small window over a large one, and one on the second screen. Frames are in
    // the top-left space.
    const std::vector<WindowInfo> windows{window(1, QRectF(100, 100, 200, 200), QStringLiteral("front")),
                                          window(2, QRectF(50, 50, 600, 500), QStringLiteral("back")),
                                          window(3, QRectF(1100, 300, 300, 300), QStringLiteral("right"))};

    std::optional<quint32> idAt(const QPointF& viewPoint, const ScreenInfo& s) const {
        const auto hit = og::windowAt(viewPoint, s, windows, primaryMaxY);
        return hit ? std::optional<quint32>(hit->windowID) : std::nullopt;
    }
};

TEST_F(WindowHitTest, FrontmostOfOverlappingWindowsWins) {
    // Top-left (150, 150) is bottom-left (150, 650).
    EXPECT_EQ(idAt({150, 650}, primary), 1u);
    EXPECT_EQ(idAt({500, 650}, primary), 2u);
}

TEST_F(WindowHitTest, DesktopBetweenWindowsPicksNothing) {
    EXPECT_EQ(idAt({900, 100}, primary), std::nullopt);
    EXPECT_EQ(idAt({10, 790}, primary), std::nullopt);
}

TEST_F(WindowHitTest, EdgesAreHalfOpen) {
    // Window 1 covers bottom-left x 100..300, y 500..700.
    EXPECT_EQ(idAt({100, 500}, primary), 1u);
    EXPECT_EQ(idAt({300, 650}, primary), 2u); // right edge belongs to the window behind
    EXPECT_EQ(idAt({150, 700}, primary), 2u); // and so does the top edge
}

TEST_F(WindowHitTest, SecondScreenPointsAreOffsetByItsOrigin) {
    // Window 3: top-left (1100, 300, 300, 300) → bottom-left (1100, 200, 300, 300); on the right
    // screen that is view (100, 200, 300, 300).
    EXPECT_EQ(og::windowRectInView(windows[2], right, primaryMaxY), QRectF(100, 200, 300, 300));
    EXPECT_EQ(idAt({150, 250}, right), 3u);
    EXPECT_EQ(idAt({150, 250}, primary), 2u);
}

TEST(OverlayGeometry, ViewAndWidgetSpacesFlipThroughTheHeight) {
    EXPECT_EQ(og::widgetToView({10, 0}, 600), QPointF(10, 600));
    EXPECT_EQ(og::viewToWidget(og::widgetToView({33, 444}, 600), 600), QPointF(33, 444));
    EXPECT_EQ(og::viewToWidget(QRectF(10, 20, 30, 40), 600), QRectF(10, 540, 30, 40));
}

TEST(OverlayGeometry, ScreenUnderAPointUsesHalfOpenFrames) {
    const std::vector<ScreenInfo> screens{screen(QRectF(0, 0, 1000, 800)), screen(QRectF(1000, 0, 800, 600))};
    EXPECT_EQ(og::screenIndexAt({999.5, 10}, screens), 0u);
    EXPECT_EQ(og::screenIndexAt({1000, 10}, screens), 1u);
    EXPECT_EQ(og::screenIndexAt({1500, 700}, screens), std::nullopt);
}

TEST(OverlayGeometry, RepaintRegionsCoverWhatADrawingTouches) {
    // A pen of 1.5 on a whole-pixel rectangle: a band around the edge, the inside left alone.
    const QRegion band = og::strokeBand(QRectF(10, 10, 100, 50), 1.5);
    EXPECT_TRUE(band.contains(QPoint(9, 30)));
    EXPECT_TRUE(band.contains(QPoint(10, 30)));
    EXPECT_TRUE(band.contains(QPoint(60, 60)));
    EXPECT_FALSE(band.contains(QPoint(60, 35)));
    EXPECT_FALSE(band.contains(QPoint(60, 70)));
    // Too small to have an inside.
    EXPECT_EQ(og::strokeBand(QRectF(10, 10, 2, 2), 1.5),
              QRegion(og::pixelsTouched(QRectF(9.25, 9.25, 3.5, 3.5))));
    // Edges between pixels cut none; fractional edges cut the pixels they cross.
    EXPECT_TRUE(og::edgePixels(QRectF(10, 10, 20, 20)).isEmpty());
    EXPECT_EQ(og::edgePixels(QRectF(10.5, 10, 20, 20)), QRegion(10, 10, 1, 20) + QRegion(30, 10, 1, 20));
    EXPECT_EQ(og::pixelsInside(QRectF(10.5, 10.2, 20, 20)), QRect(11, 11, 19, 19));
    EXPECT_TRUE(og::pixelsInside(QRectF(10.2, 10, 0.5, 5)).isEmpty());
}
