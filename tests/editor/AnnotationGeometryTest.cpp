#include "editor/Annotations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Kind = ShapeAnnotation::Kind;

struct SegmentCase {
    QPointF p, a, b;
    double distance;
};

class DistanceToSegment : public testing::TestWithParam<SegmentCase> {};

TEST_P(DistanceToSegment, MeasuresToTheNearestPointOfTheSegment) {
    const SegmentCase& c = GetParam();
    EXPECT_NEAR(distanceToSegment(c.p, c.a, c.b), c.distance, 1e-9);
    EXPECT_NEAR(distanceToSegment(c.p, c.b, c.a), c.distance, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, DistanceToSegment,
                         testing::Values(SegmentCase{{5, 3}, {0, 0}, {10, 0}, 3},   // beside the middle
                                         SegmentCase{{-3, 4}, {0, 0}, {10, 0}, 5},  // beyond an end
                                         SegmentCase{{13, -4}, {0, 0}, {10, 0}, 5}, // beyond the other
                                         SegmentCase{{3, 4}, {2, 2}, {2, 2}, std::hypot(1, 2)}, // a point
                                         SegmentCase{{0, 10}, {0, 0}, {10, 10}, std::sqrt(50.0)},
                                         SegmentCase{{7, 7}, {0, 0}, {10, 10}, 0}));

// Arrow heads, at one and two pixels per point, with the default 3-point stroke: the full head is
// 14 + 2.2 × 3 = 20.6 points, and shorter arrows (below 20.6 / 0.35 ≈ 58.86 points) get 0.35 of
// their length.
struct ArrowCase {
    double lengthPt;
    double headPt;
};

class ArrowHead : public testing::TestWithParam<std::tuple<ArrowCase, double>> {};

TEST_P(ArrowHead, IsCappedByTheArrowsLength) {
    const auto [c, scale] = GetParam();
    const QPointF start(10, 20);
    const double angle = 0.6;
    const QPointF end = start + c.lengthPt * scale * QPointF(std::cos(angle), std::sin(angle));
    const ArrowGeometry arrow = arrowGeometry(start, end, 3.0, scale);
    EXPECT_NEAR(arrow.headLength, c.headPt * scale, 1e-9);

    // The shaft stops where the head begins, on the line from start to end.
    EXPECT_NEAR(std::hypot(end.x() - arrow.base.x(), end.y() - arrow.base.y()), arrow.headLength, 1e-9);
    EXPECT_NEAR(distanceToSegment(arrow.base, start, end), 0, 1e-9);
    // The head is a triangle from the tip to a base 0.62 × h wide, square to the shaft.
    ASSERT_EQ(arrow.head.size(), 3);
    EXPECT_EQ(arrow.head[0], end);
    const QPointF across = arrow.head[1] - arrow.head[2];
    EXPECT_NEAR(std::hypot(across.x(), across.y()), 0.62 * arrow.headLength, 1e-9);
    EXPECT_NEAR(QPointF::dotProduct(across, end - start), 0, 1e-6);
    EXPECT_NEAR(((arrow.head[1] + arrow.head[2]) / 2 - arrow.base).manhattanLength(), 0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ArrowHead,
                         testing::Combine(testing::Values(ArrowCase{10, 3.5}, ArrowCase{58.8, 0.35 * 58.8},
                                                          ArrowCase{58.9, 20.6}, ArrowCase{300, 20.6}),
                                          testing::Values(1.0, 2.0)));

TEST(ArrowHead, AZeroLengthArrowHasATinyHeadPointingRight) {
    const ArrowGeometry arrow = arrowGeometry(QPointF(50, 50), QPointF(50, 50), 3.0, 2.0);
    EXPECT_DOUBLE_EQ(arrow.headLength, 0.35);
    EXPECT_NEAR(arrow.base.x(), 50 - 0.35, 1e-12);
    EXPECT_DOUBLE_EQ(arrow.base.y(), 50);
}

// Hit testing, in points multiplied by the scale: the tolerance T is 8 points.
class HitTest : public testing::TestWithParam<double> {
  protected:
    double s() const { return GetParam(); }
    QPointF pt(double x, double y) const { return QPointF(x * s(), y * s()); }
    std::shared_ptr<ShapeAnnotation> shape(Kind kind, QPointF a, QPointF b) const {
        return std::make_shared<ShapeAnnotation>(kind, pt(a.x(), a.y()), pt(b.x(), b.y()), s());
    }
};

TEST_P(HitTest, RectanglesArePickedOnABandAroundTheirOutline) {
    for (Kind kind : {Kind::rect, Kind::oval}) {
        // Dragged from the top-right to the bottom-left: the outline does not depend on the order.
        const auto r = shape(kind, {100, 100}, {0, 0});
        struct Probe {
            double x, y;
            bool hit;
        };
        const Probe probes[] = {
            {-7, 50, true},   {107, 50, true},     {50, -7, true},
            {50, 107, true},                                          // 7 points outside an edge
            {50, 50, false},  {8, 50, false},      {50, 91.9, false}, // inside the band
            {7.9, 50, true},  {92, 50, true},      {50, 92, true},    // the band's inner edges
            {-8, 50, true},   {108, 50, false},    {50, -8, true},
            {50, 108, false}, // half-open outer edges
            {-7, -7, true},   {107.5, 107.5, true}};
        for (const Probe& p : probes)
            EXPECT_EQ(r->hitTest(pt(p.x, p.y)), p.hit) << int(kind) << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST_P(HitTest, ShapesThinnerThanTheBandArePickedAllOver) {
    const auto thin = shape(Kind::rect, {0, 0}, {16, 100});
    EXPECT_TRUE(thin->hitTest(pt(8, 50)));
    EXPECT_FALSE(thin->hitTest(pt(24, 50)));
    const auto flat = shape(Kind::oval, {0, 0}, {100, 10});
    EXPECT_TRUE(flat->hitTest(pt(50, 5)));
}

TEST_P(HitTest, LinesAndArrowsReachTheToleranceAndTheStrokeWidthStrictly) {
    for (Kind kind : {Kind::line, Kind::arrow}) {
        const auto line = shape(kind, {0, 0}, {100, 0});
        EXPECT_TRUE(line->hitTest(pt(50, 10.99)));
        EXPECT_FALSE(line->hitTest(pt(50, 11))); // 8 + 3 points is already too far
        EXPECT_TRUE(line->hitTest(pt(-10.99, 0)));
        EXPECT_FALSE(line->hitTest(pt(-11, 0)));
        line->strokeWidthPt = 10;
        EXPECT_TRUE(line->hitTest(pt(50, 17.5)));
    }
}

TEST_P(HitTest, HighlightsArePickedOnTheirAreaOnly) {
    const auto h = shape(Kind::highlight, {0, 0}, {100, 50});
    EXPECT_TRUE(h->hitTest(pt(50, 25)));
    EXPECT_TRUE(h->hitTest(pt(0, 0)));
    EXPECT_FALSE(h->hitTest(pt(100, 25)));
    EXPECT_FALSE(h->hitTest(pt(-1, 25)));
}

TEST_P(HitTest, PenStrokesArePickedNearAnySegment) {
    PenAnnotation pen(s());
    pen.points = {pt(0, 0)};
    EXPECT_FALSE(pen.hitTest(pt(0, 0))) << "one point is never hit";
    pen.points << pt(100, 0) << pt(100, 100);
    EXPECT_TRUE(pen.hitTest(pt(50, 10.9)));
    EXPECT_TRUE(pen.hitTest(pt(110.9, 50)));
    EXPECT_FALSE(pen.hitTest(pt(50, 50)));
    EXPECT_FALSE(pen.hitTest(pt(50, -11)));
}

TEST_P(HitTest, CountersArePickedUpToSixPointsBeyondTheirRadius) {
    CounterAnnotation c(s());
    c.center = pt(100, 100);
    // Radius 14 + 6 = 20 points, reached along the axes and along a 12–16–20 diagonal.
    EXPECT_TRUE(c.hitTest(pt(120, 100)));
    EXPECT_TRUE(c.hitTest(pt(100, 80)));
    EXPECT_TRUE(c.hitTest(pt(112, 116)));
    EXPECT_FALSE(c.hitTest(pt(120.01, 100)));
    EXPECT_FALSE(c.hitTest(pt(112.1, 116)));
    c.radiusPt = 30;
    EXPECT_TRUE(c.hitTest(pt(136, 100)));
    EXPECT_FALSE(c.hitTest(pt(136.1, 100)));
}

TEST_P(HitTest, BlurRegionsArePickedInsideWithoutTolerance) {
    BlurAnnotation b(s());
    b.rect = QRectF(pt(10, 10), pt(60, 40));
    EXPECT_TRUE(b.hitTest(pt(10, 10)));
    EXPECT_TRUE(b.hitTest(pt(59.9, 39.9)));
    EXPECT_FALSE(b.hitTest(pt(60, 20)));
    EXPECT_FALSE(b.hitTest(pt(9.9, 20)));
}

TEST_P(HitTest, TextIsPickedWithinItsBoxGrownByTheTolerance) {
    TextAnnotation t(s());
    t.origin = pt(50, 50);
    const QRectF box = t.bounds(); // the empty text's 10 × 10 pixel box
    EXPECT_EQ(box, QRectF(t.origin, QSizeF(10, 10)));
    EXPECT_TRUE(t.hitTest(box.topLeft() - QPointF(8 * s(), 8 * s())));
    EXPECT_FALSE(t.hitTest(QPointF(box.right() + 8 * s(), box.center().y())));
    EXPECT_TRUE(t.hitTest(QPointF(box.right() + 7.9 * s(), box.center().y())));
}

INSTANTIATE_TEST_SUITE_P(Scales, HitTest, testing::Values(1.0, 2.0, 1.5));

TEST(AnnotationBounds, FollowEachKindsGeometry) {
    ShapeAnnotation arrow(Kind::arrow, {80, 10}, {20, 50}, 1);
    EXPECT_EQ(arrow.bounds(), QRectF(20, 10, 60, 40));
    EXPECT_EQ(arrow.start, QPointF(80, 10)) << "start and end keep their dragged order";

    PenAnnotation pen(2);
    EXPECT_EQ(pen.bounds(), QRectF());
    pen.points = {{5, 9}, {1, 4}, {7, 2}};
    EXPECT_EQ(pen.bounds(), QRectF(1, 2, 6, 7));

    CounterAnnotation counter(2);
    counter.center = {100, 50};
    EXPECT_EQ(counter.bounds(), QRectF(72, 22, 56, 56));

    BlurAnnotation blur(1);
    EXPECT_EQ(blur.bounds(), QRectF());
    blur.rect = QRectF(3, 4, 5, 6);
    EXPECT_EQ(blur.bounds(), QRectF(3, 4, 5, 6));

    Annotation plain(1);
    EXPECT_EQ(plain.bounds(), QRectF());
    EXPECT_TRUE(plain.hitTest({7.9, -7.9}));
    EXPECT_FALSE(plain.hitTest({8, 0}));
}

TEST(AnnotationDefaults, MatchWhatTheCanvasCreates) {
    TextAnnotation text(2);
    EXPECT_EQ(text.color, QColor(255, 59, 48));
    EXPECT_EQ(text.strokeWidthPt, 3);
    EXPECT_EQ(text.strokeWidth(), 6);
    EXPECT_EQ(text.fontSizePt, 18);
    EXPECT_EQ(text.origin, QPointF());
    EXPECT_TRUE(text.text.isEmpty());
    CounterAnnotation counter(1);
    EXPECT_EQ(counter.number, 1);
    EXPECT_EQ(counter.radiusPt, 14);
    EXPECT_TRUE(PenAnnotation(1).points.isEmpty());
}

TEST(AnnotationMove, TranslatesEveryKind) {
    const QPointF d(5, -3);
    ShapeAnnotation shape(Kind::line, {1, 1}, {2, 2}, 1);
    shape.move(d);
    EXPECT_EQ(shape.start, QPointF(6, -2));
    EXPECT_EQ(shape.end, QPointF(7, -1));
    PenAnnotation pen(1);
    pen.points = {{0, 0}, {1, 1}};
    pen.move(d);
    EXPECT_EQ(pen.points, (QList<QPointF>{{5, -3}, {6, -2}}));
    TextAnnotation text(1);
    text.move(d);
    EXPECT_EQ(text.origin, d);
    CounterAnnotation counter(1);
    counter.move(d);
    EXPECT_EQ(counter.center, d);
    BlurAnnotation blur(1);
    blur.rect = QRectF(1, 1, 4, 4);
    blur.move(d);
    EXPECT_EQ(blur.rect, QRectF(6, -2, 4, 4));
}

// Undo snapshots hold copies: a copy must carry the state that matters and share nothing.
TEST(AnnotationCopy, IsIndependentAndKeepsTheKind) {
    auto shape = std::make_shared<ShapeAnnotation>(Kind::oval, QPointF(1, 2), QPointF(3, 4), 2.0);
    shape->color = Qt::blue;
    shape->strokeWidthPt = 7;
    auto shapeCopy = std::dynamic_pointer_cast<ShapeAnnotation>(shape->copyAnnotation());
    ASSERT_TRUE(shapeCopy);
    EXPECT_NE(shapeCopy, shape);
    EXPECT_EQ(shapeCopy->kind(), Kind::oval);
    EXPECT_EQ(shapeCopy->color, QColor(Qt::blue));
    EXPECT_EQ(shapeCopy->strokeWidthPt, 7);
    EXPECT_EQ(shapeCopy->uiScale(), 2.0);
    shape->move({10, 10});
    EXPECT_EQ(shapeCopy->start, QPointF(1, 2));

    auto pen = std::make_shared<PenAnnotation>(1.0);
    pen->points = {{1, 1}, {2, 2}};
    pen->strokeWidthPt = 5;
    auto penCopy = std::dynamic_pointer_cast<PenAnnotation>(pen->copyAnnotation());
    ASSERT_TRUE(penCopy);
    pen->points << QPointF(3, 3);
    EXPECT_EQ(penCopy->points.size(), 2);
    EXPECT_EQ(penCopy->strokeWidthPt, 5);

    auto text = std::make_shared<TextAnnotation>(2.0);
    text->text = QStringLiteral("Hi");
    text->origin = {4, 5};
    text->fontSizePt = 30;
    text->color = Qt::green;
    text->strokeWidthPt = 9;
    auto textCopy = std::dynamic_pointer_cast<TextAnnotation>(text->copyAnnotation());
    ASSERT_TRUE(textCopy);
    EXPECT_EQ(textCopy->text, QStringLiteral("Hi"));
    EXPECT_EQ(textCopy->origin, QPointF(4, 5));
    EXPECT_EQ(textCopy->fontSizePt, 30);
    EXPECT_EQ(textCopy->color, QColor(Qt::green));
    EXPECT_EQ(textCopy->uiScale(), 2.0);
    EXPECT_EQ(textCopy->strokeWidthPt, 3) << "text has no stroke; its copy takes the default";

    auto counter = std::make_shared<CounterAnnotation>(1.0);
    counter->center = {7, 8};
    counter->number = -4;
    counter->radiusPt = 20;
    auto counterCopy = std::dynamic_pointer_cast<CounterAnnotation>(counter->copyAnnotation());
    ASSERT_TRUE(counterCopy);
    EXPECT_EQ(counterCopy->center, QPointF(7, 8));
    EXPECT_EQ(counterCopy->number, -4);
    EXPECT_EQ(counterCopy->radiusPt, 20);

    auto blur = std::make_shared<BlurAnnotation>(1.0);
    blur->rect = QRectF(1, 2, 3, 4);
    blur->color = Qt::black;
    auto blurCopy = std::dynamic_pointer_cast<BlurAnnotation>(blur->copyAnnotation());
    ASSERT_TRUE(blurCopy);
    EXPECT_EQ(blurCopy->rect, QRectF(1, 2, 3, 4));
    EXPECT_EQ(blurCopy->color, Annotation::defaultColor()) << "a blur never uses its colour";

    auto plain = std::make_shared<Annotation>(1.0);
    EXPECT_EQ(plain->copyAnnotation(), plain) << "a plain annotation stands for itself";
}

} // namespace
