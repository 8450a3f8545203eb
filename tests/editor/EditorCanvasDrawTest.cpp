// What the canvas paints: the image upright at any zoom, annotations where the flattened image has
// them, the selection chrome and the crop dimming.
#include "EditorCanvasTestSupport.h"

#include "EditorTestSupport.h"

#include "editor/AnnotationRenderer.h"
#include "editor/Annotations.h"
#include "editor/CanvasColors.h"

namespace {

using namespace canvastest;

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

bool isBlue(const QColor& c) {
    return c.blue() > 200 && c.red() < 80 && c.green() < 80;
}

class DrawTest : public CanvasTest {
  protected:
    // A blue rectangle dragged from view (40, 60) to (120, 20), plus a counter, a blur and text.
    EditorCanvasView& annotated(double scale) {
        EditorCanvasView& c = make(capture(200, 100, scale));
        c.setCurrentColor(QColor(0, 0, 255));
        c.setCurrentTool(EditorTool::rect);
        drag(&c, widgetPoint(c, {40, 60}), widgetPoint(c, {120, 20}));
        c.setCurrentTool(EditorTool::counter);
        click(&c, widgetPoint(c, {160, 50}));
        c.setCurrentTool(EditorTool::blur);
        drag(&c, widgetPoint(c, {10, 70}), widgetPoint(c, {90, 95})); // over the grey corner's edge
        c.setCurrentTool(EditorTool::select);
        return c;
    }
};

struct ZoomCase {
    double scale;
    double m;
};

class DrawZoomTest : public DrawTest, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(DrawZoomTest, ImageIsUprightAndAnnotationsFollowTheZoom) {
    EditorCanvasView& c = annotated(GetParam().scale);
    const double m = GetParam().m;
    c.setMagnification(m);
    const QImage shot = grab(c);
    ASSERT_EQ(shot.size(), QSize(qRound(200 * m), qRound(100 * m)));
    const auto w = [&](double x, double y) {
        const QPointF p = widgetPoint(c, {x, y});
        return at(shot, static_cast<int>(p.x()), static_cast<int>(p.y()));
    };
    // The grey quarter of the bitmap's first rows is at the top-left.
    EXPECT_EQ(w(150, 90), QColor(Qt::white));
    EXPECT_EQ(w(190, 5), QColor(Qt::white));
    EXPECT_EQ(w(30, 88).red(), 128);
    // The rectangle's left and bottom edges, and its untouched inside.
    EXPECT_TRUE(isBlue(w(40, 40)));
    EXPECT_TRUE(isBlue(w(80, 20)));
    EXPECT_EQ(w(80, 40), QColor(Qt::white));
}

INSTANTIATE_TEST_SUITE_P(Zooms, DrawZoomTest,
                         ::testing::Values(ZoomCase{1, 1}, ZoomCase{2, 1}, ZoomCase{1, 2}, ZoomCase{2, 3},
                                           ZoomCase{2, 0.5}));

// At one pixel per point and no zoom the canvas shows exactly what flattening produces.
TEST_F(DrawTest, PaintsWhatFlatteningProduces) {
    EditorCanvasView& c = annotated(1.0);
    c.setCurrentTool(EditorTool::text);
    click(&c, widgetPoint(c, {120, 80}));
    QTest::keyClicks(c.textField(), "Label");
    const QImage flat = c.flattened().image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(c.annotations().size(), 4u);
    const QImage shot = grab(c);
    EXPECT_EQ(editortest::differingPixels(shot, flat), 0);
    // ...and the blur is really there: cells of one colour across the grey square's edge.
    EXPECT_NE(editortest::differingPixels(flat, c.image().image), 0);
}

TEST_F(DrawTest, SelectionHasDashedAccentOutlineAndWhiteCornerSquares) {
    EditorCanvasView& c = annotated(2.0);
    click(&c, widgetPoint(c, {40, 40}));
    ASSERT_NE(c.selected(), nullptr);
    const QImage shot = grab(c);
    // Bounds (40, 20)–(120, 60) grown by 4: corners at (36, 16) and (124, 64), squares of 8.
    for (const QPointF& corner : {QPointF(36, 16), QPointF(124, 16), QPointF(36, 64), QPointF(124, 64)}) {
        const QPointF p = widgetPoint(c, corner);
        EXPECT_EQ(at(shot, qRound(p.x()), qRound(p.y())), QColor(Qt::white))
            << corner.x() << "," << corner.y();
        const QPointF inSquare = widgetPoint(c, corner + QPointF(3, 3));
        EXPECT_EQ(at(shot, qRound(inSquare.x()), qRound(inSquare.y())), QColor(Qt::white));
    }
    // Along the top side, accent dashes with gaps between them.
    int dash = 0, gap = 0;
    const int row = static_cast<int>(widgetPoint(c, {0, 64}).y());
    for (int x = qRound(widgetPoint(c, {44, 0}).x()); x < qRound(widgetPoint(c, {116, 0}).x()); ++x) {
        const QColor px = at(shot, x, row);
        if (px.blue() > 200 && px.red() < 128)
            ++dash; // the accent, partly covering the row
        else if (px == QColor(Qt::white))
            ++gap;
    }
    EXPECT_GT(dash, 20);
    EXPECT_GT(gap, 10);
}

TEST_F(DrawTest, CropDragDimsEverythingOutsideAndOutlinesTheRectangle) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::crop);
    press(&c, widgetPoint(c, {100, 20}));
    moveTo(&c, widgetPoint(c, {180, 80}));
    const QImage shot = grab(c);
    const auto w = [&](double x, double y) {
        const QPointF p = widgetPoint(c, {x, y});
        return at(shot, static_cast<int>(p.x()), static_cast<int>(p.y()));
    };
    EXPECT_EQ(w(140, 50), QColor(Qt::white));
    EXPECT_NEAR(w(60, 50).red(), 140, 3); // white under black at 0.45
    EXPECT_NEAR(w(190, 10).red(), 140, 3);
    EXPECT_EQ(w(140, 79.5), QColor(Qt::white)); // the outline along the top
    release(&c, widgetPoint(c, {180, 80}));
    EXPECT_EQ(c.size(), QSize(80, 60));
    EXPECT_EQ(grab(c).pixelColor(2, 2), QColor(Qt::white)); // cropped, and no longer dimmed
}

} // namespace

namespace {

// The pixellated copy belongs to one image: after a crop the blur must show the cropped image's cells.
TEST_F(DrawTest, BlurAfterACropShowsTheNewImage) {
    EditorCanvasView& c = annotated(2.0);
    EXPECT_FALSE(grab(c).isNull()); // the first repaint makes the copy of the uncropped image
    c.setCurrentTool(EditorTool::crop);
    drag(&c, widgetPoint(c, {5, 45}), widgetPoint(c, {95, 99}));
    ASSERT_EQ(c.pointSize(), QSizeF(90, 54));
    const CapturedImage flat = c.flattened();
    const QImage expected = AnnotationRenderer::render(c.image().image, c.annotations(),
                                                       AnnotationRenderer::pixellate(c.image().image, 2));
    EXPECT_EQ(editortest::differingPixels(flat.image, expected), 0);
}

} // namespace
