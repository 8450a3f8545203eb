// Drawing, checked by sampling the flattened image where each annotation must and must not paint.
// Coordinates are bottom-left image pixels, as the annotations store them.
#include "EditorTestSupport.h"

#include "editor/AnnotationRenderer.h"
#include "editor/Annotations.h"

#include <gtest/gtest.h>

namespace {

using namespace editortest;
using Kind = ShapeAnnotation::Kind;

QImage drawOnWhite(const AnnotationList& list, const std::optional<QImage>& pixellated = std::nullopt) {
    return AnnotationRenderer::render(whiteBase(200, 200), list, pixellated);
}

std::shared_ptr<ShapeAnnotation> shape(Kind kind, QPointF a, QPointF b) {
    return std::make_shared<ShapeAnnotation>(kind, a, b, 1.0);
}

struct Sample {
    double x, y;
    bool painted;
};

void expectSamples(const QImage& image, std::initializer_list<Sample> samples, const char* what) {
    for (const Sample& s : samples) {
        const QColor c = pixelAt(image, s.x, s.y);
        if (s.painted) {
            EXPECT_TRUE(isRed(c)) << what << " should paint (" << s.x << ", " << s.y << ")";
        } else {
            EXPECT_TRUE(isWhite(c)) << what << " should leave (" << s.x << ", " << s.y << ") white";
        }
    }
}

TEST(ShapeDrawing, StrokesTheOutlineOfRectanglesAndOvals) {
    expectSamples(drawOnWhite({shape(Kind::rect, {150, 150}, {50, 50})}),
                  {{50, 100, true},
                   {150, 100, true},
                   {100, 50, true},
                   {100, 150, true},
                   {100, 100, false},
                   {40, 100, false},
                   {55, 100, false}},
                  "rectangle");
    expectSamples(drawOnWhite({shape(Kind::oval, {50, 50}, {150, 150})}),
                  {{50, 100, true},
                   {100, 150, true},
                   {100, 50, true},
                   {53, 53, false},
                   {147, 147, false},
                   {100, 100, false}},
                  "oval");
}

TEST(ShapeDrawing, DrawsLinesWithTheStrokeWidthInPixels) {
    const auto line = shape(Kind::line, {20, 100}, {180, 100});
    expectSamples(drawOnWhite({line}), {{100, 100, true}, {100, 103, false}, {100, 97, false}},
                  "3-pixel line");
    auto wide = std::make_shared<ShapeAnnotation>(Kind::line, QPointF(20, 100), QPointF(180, 100), 2.0);
    expectSamples(drawOnWhite({wide}), {{100, 102, true}, {100, 97, true}, {100, 104, false}},
                  "6-pixel line");
}

TEST(ShapeDrawing, ArrowsEndInAHeadWiderThanTheShaft) {
    // Along the middle of a pixel row, so that the narrow tip covers whole pixels.
    const QImage image = drawOnWhite({shape(Kind::arrow, {20, 100.5}, {180, 100.5})});
    // The head is 20.6 pixels long; 17 pixels before the tip it is about 5.3 pixels wide each side.
    expectSamples(image,
                  {{100, 100, true},
                   {100, 104, false},
                   {162, 104, true},
                   {162, 96, true},
                   {176, 100, true},
                   {184, 100, false},
                   {16, 100, false}},
                  "arrow");
}

TEST(ShapeDrawing, HighlightsBlendTheColourAtAThirdOpacity) {
    const QImage image = drawOnWhite({shape(Kind::highlight, {40, 40}, {160, 120})});
    const QColor inside = pixelAt(image, 100, 80);
    EXPECT_EQ(inside.red(), 255);
    EXPECT_NEAR(inside.green(), 255 * 0.65 + 59 * 0.35, 2);
    EXPECT_NEAR(inside.blue(), 255 * 0.65 + 48 * 0.35, 2);
    EXPECT_TRUE(isWhite(pixelAt(image, 100, 125)));
    EXPECT_TRUE(isWhite(pixelAt(image, 35, 80)));
}

TEST(PenDrawing, OnePointDrawsNothingAndTwoDrawAStraightSegment) {
    auto pen = std::make_shared<PenAnnotation>(1.0);
    pen->points = {{100, 100}};
    EXPECT_EQ(differingPixels(drawOnWhite({pen}), whiteBase(200, 200)), 0);
    pen->points << QPointF(180, 20);
    expectSamples(drawOnWhite({pen}), {{140, 60, true}, {120, 80, true}, {140, 70, false}}, "pen segment");
}

TEST(PenDrawing, SmoothsCornersThroughTheMidpoints) {
    auto pen = std::make_shared<PenAnnotation>(1.0);
    pen->points = {{20, 20}, {100, 180}, {180, 20}};
    // The curve runs from the first point to the midpoint (140, 100) of the last two, bent towards
    // the corner (100, 180) without reaching it, then straight on to the last point.
    expectSamples(drawOnWhite({pen}),
                  {{20, 20, true},
                   {90, 120, true},
                   {140, 100, true},
                   {160, 60, true},
                   {100, 175, false},
                   {60, 100, false}},
                  "smoothed pen");
}

TEST(CounterDrawing, IsARedDiscWithItsNumberInWhiteAtTheCentre) {
    auto counter = std::make_shared<CounterAnnotation>(1.0);
    counter->center = {100, 100};
    counter->number = 8;
    const QImage image = drawOnWhite({counter});
    expectSamples(image,
                  {{88, 100, true}, {112, 100, true}, {100, 88, true}, {74, 100, false}, {100, 126, false}},
                  "counter disc");
    // The number's ink is white and centred on the disc.
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 86; y <= 114; ++y)
        for (int x = 86; x <= 114; ++x)
            if (const QColor c = pixelAt(image, x, y);
                (x - 100) * (x - 100) + (y - 100) * (y - 100) < 100 && c.green() > 200 && c.blue() > 200)
                sx += x, sy += y, ++n;
    ASSERT_GT(n, 20);
    EXPECT_NEAR(sx / n, 100, 1.5);
    EXPECT_NEAR(sy / n, 100, 2.0);
}

TEST(CounterDrawing, CastsItsShadowDownwards) {
    auto counter = std::make_shared<CounterAnnotation>(2.0);
    counter->center = {100, 100};
    const QImage image = drawOnWhite({counter});
    const double r = counter->radius();
    int below = 0, above = 0;
    for (int dx = -6; dx <= 6; ++dx) {
        below += darkness(pixelAt(image, 100 + dx, 100 - r - 2));
        above += darkness(pixelAt(image, 100 + dx, 100 + r + 2));
    }
    EXPECT_GT(below, 0);
    EXPECT_GT(below, 2 * above) << "below " << below << ", above " << above;
    EXPECT_TRUE(isWhite(pixelAt(image, 100, 100 - r - 12))) << "the shadow is soft but short";
}

TEST(BlurDrawing, ShowsThePixellatedCopyInsideItsRectangleOnly) {
    QImage base(200, 200, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            base.setPixel(x, y, qRgb(x, y, (x * y) % 256));
    const auto cells = AnnotationRenderer::pixellate(base, 1.0);
    ASSERT_TRUE(cells);
    for (const QRectF rect : {QRectF(40, 40, 80, 60), QRectF(120, 100, -80, -60)}) {
        auto blur = std::make_shared<BlurAnnotation>(1.0);
        blur->rect = rect;
        const QImage out = AnnotationRenderer::render(base, {blur}, cells);
        for (int y = 0; y < 200; y += 3)
            for (int x = 0; x < 200; x += 3) {
                const bool inside = x >= 40 && x < 120 && y >= 40 && y < 100;
                const QRgb expected = inside ? pixelAt(*cells, x, y).rgba() : pixelAt(base, x, y).rgba();
                ASSERT_EQ(pixelAt(out, x, y).rgba(), expected) << "(" << x << ", " << y << ")";
            }
    }
}

TEST(BlurDrawing, DrawsNothingWithoutCellsOrWhenOnePixelThin) {
    std::optional<QImage> black = QImage(200, 200, QImage::Format_ARGB32_Premultiplied);
    black->fill(Qt::black);
    for (const QRectF rect : {QRectF(10, 10, 1, 100), QRectF(10, 10, 100, 1), QRectF(10, 10, -1, 50)}) {
        auto blur = std::make_shared<BlurAnnotation>(1.0);
        blur->rect = rect;
        EXPECT_EQ(differingPixels(drawOnWhite({blur}, black), whiteBase(200, 200)), 0);
    }
    auto blur = std::make_shared<BlurAnnotation>(1.0);
    blur->rect = QRectF(10, 10, 100, 100);
    EXPECT_EQ(differingPixels(drawOnWhite({blur}), whiteBase(200, 200)), 0);
    EXPECT_GT(differingPixels(drawOnWhite({blur}, black), whiteBase(200, 200)), 9000);
}

// Each draw restores the painter: a blur's clip or a highlight's translucency must not reach the
// annotations drawn after it, and later annotations lie on top of earlier ones.
TEST(AnnotationDrawing, LeavesNoStateToTheNextAnnotation) {
    std::optional<QImage> black = QImage(200, 200, QImage::Format_ARGB32_Premultiplied);
    black->fill(Qt::black);
    auto blur = std::make_shared<BlurAnnotation>(1.0);
    blur->rect = QRectF(10, 10, 30, 30);
    const auto highlight = shape(Kind::highlight, {50, 50}, {150, 150});
    auto line = shape(Kind::line, {20, 100}, {180, 100});
    line->color = Qt::blue;
    const QImage image = drawOnWhite({blur, highlight, line}, black);
    EXPECT_EQ(pixelAt(image, 100, 100), QColor(Qt::blue)) << "the line is opaque over the highlight";
    EXPECT_EQ(pixelAt(image, 170, 100), QColor(Qt::blue)) << "the line is drawn outside the blur's clip";
    EXPECT_EQ(pixelAt(image, 20, 20), QColor(Qt::black));
}

} // namespace
