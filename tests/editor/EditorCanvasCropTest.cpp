// Cropping: the arithmetic, the drag threshold, undo and redo, rectangles hanging over the canvas,
// and images at the extremes of size.
#include "EditorCanvasTestSupport.h"

#include "EditorTestSupport.h"

#include "editor/Annotations.h"
#include "editor/CropGeometry.h"
#include "support/TestSupport.h"

namespace {

using namespace canvastest;

struct CutCase {
    QRectF view;
    double canvasHeight;
    double scale;
    QSize bitmap;
    std::optional<QRect> cut;
};

class PixelCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(PixelCutTest, CutsTopDownWholePixelsInsideTheBitmap) {
    const CutCase& c = GetParam();
    EXPECT_EQ(cropgeometry::pixelCutRect(c.view, c.canvasHeight, c.scale, c.bitmap), c.cut);
}

INSTANTIATE_TEST_SUITE_P(Rects, PixelCutTest,
                         ::testing::Values(
                             // Rows run top-down: a crop at the bottom of the canvas cuts the last rows.
                             CutCase{{0, 0, 50, 20}, 100, 1, {200, 100}, QRect(0, 80, 50, 20)},
                             CutCase{{50, 20, 100, 60}, 100, 2, {400, 200}, QRect(100, 40, 200, 120)},
                             // Origin rounded down, far edges rounded up.
                             CutCase{{10.25, 5.5, 20.5, 10.25}, 100, 2, {400, 200}, QRect(20, 168, 42, 21)},
                             // 0.3 × 10 is a hair above 3: still exactly 3 to 10.
                             CutCase{{0.3, 0, 0.7, 10}, 10, 10, {100, 100}, QRect(3, 0, 7, 100)},
                             // Whatever lies outside the bitmap is left out; nothing left is no cut.
                             CutCase{{150, 50, 100, 100}, 100, 1, {200, 100}, QRect(150, 0, 50, 50)},
                             CutCase{{300, 0, 10, 10}, 100, 1, {200, 100}, std::nullopt}));

TEST(CropClamp, KeepsTheRectangleOnTheCanvas) {
    const QSizeF canvas(200, 100);
    EXPECT_EQ(cropgeometry::clampToCanvas({-50, -50, 150, 100}, canvas), QRectF(0, 0, 100, 50));
    EXPECT_EQ(cropgeometry::clampToCanvas({150, 60, 110, 70}, canvas), QRectF(150, 60, 50, 40));
    EXPECT_EQ(cropgeometry::clampToCanvas({10, 10, 20, 20}, canvas), QRectF(10, 10, 20, 20));
    EXPECT_TRUE(cropgeometry::clampToCanvas({-100, -100, 80, 80}, canvas).isEmpty());
}

struct ThresholdCase {
    QSizeF dragged; // points
    bool crops;
};

class CropThresholdTest : public CanvasTest, public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(CropThresholdTest, BothSidesMustExceedFourPoints) {
    EditorCanvasView& c = make(capture(200, 150));
    c.setCurrentTool(EditorTool::crop);
    const QPointF from(20, 20);
    drag(&c, from, from + QPointF(GetParam().dragged.width(), GetParam().dragged.height()));
    const QSize expected = GetParam().crops ? GetParam().dragged.toSize() : QSize(200, 150);
    EXPECT_EQ(c.image().image.size(), expected);
    EXPECT_EQ(undo.canUndo(), GetParam().crops);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CropThresholdTest,
                         ::testing::Values(ThresholdCase{{4, 100}, false}, ThresholdCase{{100, 4}, false},
                                           ThresholdCase{{4, 4}, false}, ThresholdCase{{5, 5}, true},
                                           ThresholdCase{{60, 40}, true}));

// 200 × 100 points at scale 2; a counter at view (60, 30), pixel (120, 60).
class CropTest : public CanvasTest {
  protected:
    EditorCanvasView& withCounter(double scale = 2.0) {
        EditorCanvasView& c = make(capture(200, 100, scale));
        c.setCurrentTool(EditorTool::counter);
        click(&c, {60, 70});
        c.setCurrentTool(EditorTool::crop);
        c.setOnStateChange([this] { ++stateChanges; });
        return c;
    }
    QPointF counterCenter() const {
        return dynamic_cast<const CounterAnnotation&>(*canvas->annotations().at(0)).center;
    }
    int stateChanges = 0;
};

TEST_F(CropTest, CutsTheDraggedRectangleAndMovesAnnotationsToTheNewOrigin) {
    EditorCanvasView& c = withCounter();
    const QImage original = c.image().image;
    drag(&c, {50, 20}, {150, 80}); // view (50, 20) – (150, 80)
    EXPECT_EQ(c.image().image, original.copy(100, 40, 200, 120));
    EXPECT_DOUBLE_EQ(c.image().scale, 2.0);
    EXPECT_EQ(c.pointSize(), QSizeF(100, 60));
    EXPECT_EQ(c.size(), QSize(100, 60));
    EXPECT_EQ(counterCenter(), QPointF(20, 20));
    EXPECT_EQ(stateChanges, 1);
}

TEST_F(CropTest, UndoRestoresImageSizeAndPositionsAndRedoCropsAgain) {
    EditorCanvasView& c = withCounter();
    c.setMagnification(2);
    const QImage original = c.image().image;
    drag(&c, {100, 40}, {300, 160}); // the same rectangle as above, at twice the size
    ASSERT_EQ(c.pointSize(), QSizeF(100, 60));
    ASSERT_EQ(c.size(), QSize(200, 120));
    const QImage cropped = c.image().image;

    undo.undo();
    EXPECT_EQ(c.image().image.cacheKey(), original.cacheKey());
    EXPECT_EQ(c.size(), QSize(400, 200));
    EXPECT_EQ(counterCenter(), QPointF(120, 60));
    EXPECT_EQ(stateChanges, 2);

    undo.redo();
    EXPECT_EQ(c.image().image, cropped);
    EXPECT_EQ(c.size(), QSize(200, 120));
    EXPECT_EQ(counterCenter(), QPointF(20, 20));
    undo.undo();
    EXPECT_EQ(c.annotations().size(), 1u); // the crop only; the counter is the step before
}

// Hanging over the bottom-left corner: unclamped, the annotations would move by the rectangle's
// negative corner while the bitmap cut stops at the edge, and the counter would leave its spot.
TEST_F(CropTest, ARectangleOverTheEdgesIsClampedSoAnnotationsStayOnTheirPixels) {
    EditorCanvasView& c = withCounter(1.0);
    c.setCurrentColor(QColor(0, 0, 255));
    drag(&c, {-50, 150}, {100, 50}); // view (-50, -50) – (100, 50)
    EXPECT_EQ(c.image().image.size(), QSize(100, 50));
    EXPECT_EQ(counterCenter(), QPointF(60, 30));
    const QImage flat = c.flattened().image;
    EXPECT_TRUE(editortest::isRed(editortest::pixelAt(flat, 60 + 8, 30)))
        << "the disc sits where it was drawn";

    undo.undo();
    drag(&c, {150, -30}, {260, 40}); // view (150, 60) – (260, 130): over the top-right corner
    EXPECT_EQ(c.image().image.size(), QSize(50, 40));
    EXPECT_EQ(counterCenter(), QPointF(-90, -30));

    undo.undo();
    const qint64 before = c.image().image.cacheKey();
    drag(&c, {-100, 150}, {-20, 120}); // wholly off the canvas: nothing, and no undo step
    EXPECT_EQ(c.image().image.cacheKey(), before);
    undo.undo();
    EXPECT_TRUE(c.annotations().empty()); // that undid the counter
}

struct ExtremeCase {
    int width, height;
    double scale;
};

class ExtremeSizeTest : public CanvasTest, public ::testing::WithParamInterface<ExtremeCase> {};

TEST_P(ExtremeSizeTest, EveryToolWorksWithoutCrashing) {
    const ExtremeCase& e = GetParam();
    QImage image(e.width, e.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    EditorCanvasView& c = make(CapturedImage{image, e.scale});
    EXPECT_GE(c.width(), 1);
    EXPECT_GE(c.height(), 1);
    c.setMagnification(e.width > 1000 ? 0.05 : 4);
    for (EditorTool tool : editortool::allCases()) {
        c.setCurrentTool(tool);
        drag(&c, {0, 0}, QPointF(c.width(), c.height()));
        if (c.textField()) c.flattened();
    }
    EXPECT_FALSE(grab(c).isNull());
    EXPECT_EQ(c.flattened().image.size(), c.image().image.size());
    undo.undo();
    undo.redo();
}

// The longest sides a canvas meets, with every tool; the largest area is the next test's.
INSTANTIATE_TEST_SUITE_P(Extremes, ExtremeSizeTest,
                         ::testing::Values(ExtremeCase{1, 1, 1.0}, ExtremeCase{1, 1, 2.0},
                                           ExtremeCase{3, 1, 2.0}, ExtremeCase{16384, 64, 1.0},
                                           ExtremeCase{64, 16384, 2.0}));

// A 16384 × 16384 picture (1 GiB of pixels) takes the tools whose work grows with the area — the
// pixellation reads and writes every pixel — and still flattens to its full size. Each copy of
// it costs seconds, so it is drawn on and flattened once.
TEST_F(CanvasTest, TheLargestPictureTakesAPixellationAndFlattensToItsFullSize) {
    EditorCanvasView& c = make(testsupport::solidCapture(QSize(16384, 16384), Qt::white));
    c.setMagnification(0.05);
    EXPECT_GE(c.width(), 800);
    for (EditorTool tool : {EditorTool::blur, EditorTool::rect}) {
        c.setCurrentTool(tool);
        drag(&c, {0, 0}, QPointF(c.width(), c.height()));
    }
    ASSERT_EQ(c.annotations().size(), 2u);
    EXPECT_EQ(c.flattened().image.size(), QSize(16384, 16384));
}

} // namespace
