// Each tool driven with real mouse events: what it creates, where, and when a click creates nothing.
#include "EditorCanvasTestSupport.h"

#include "editor/Annotations.h"
#include "editor/CanvasColors.h"

#include <QCursor>

namespace {

using namespace canvastest;
using Kind = ShapeAnnotation::Kind;

struct ShapeCase {
    EditorTool tool;
    Kind kind;
};

class ShapeToolTest : public CanvasTest, public ::testing::WithParamInterface<ShapeCase> {};

// 200 × 100 points at scale 2: widget (10, 20) is view (10, 80), pixel (20, 160).
TEST_P(ShapeToolTest, DragMakesOneShapeFromPressToReleaseInBottomLeftPixels) {
    EditorCanvasView& c = make(capture(200, 100, 2.0));
    c.setCurrentTool(GetParam().tool);
    c.setCurrentColor(QColor(0, 0, 255));
    drag(&c, {10, 20}, {60, 70});
    ASSERT_EQ(c.annotations().size(), 1u);
    const auto* shape = dynamic_cast<const ShapeAnnotation*>(c.annotations()[0].get());
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->kind(), GetParam().kind);
    EXPECT_EQ(shape->start, QPointF(20, 160));
    EXPECT_EQ(shape->end, QPointF(120, 60));
    EXPECT_EQ(shape->color, QColor(0, 0, 255));
    EXPECT_DOUBLE_EQ(shape->uiScale(), 2.0);
    EXPECT_DOUBLE_EQ(shape->strokeWidthPt, 3.0);
    EXPECT_TRUE(undo.canUndo());
}

INSTANTIATE_TEST_SUITE_P(Tools, ShapeToolTest,
                         ::testing::Values(ShapeCase{EditorTool::arrow, Kind::arrow},
                                           ShapeCase{EditorTool::line, Kind::line},
                                           ShapeCase{EditorTool::rect, Kind::rect},
                                           ShapeCase{EditorTool::oval, Kind::oval},
                                           ShapeCase{EditorTool::highlight, Kind::highlight}));

struct SlopCase {
    EditorTool tool;
    QPointF by; // widget pixels at scale 1, so also image pixels
    bool kept;
};

class ClickSlopTest : public CanvasTest, public ::testing::WithParamInterface<SlopCase> {};

TEST_P(ClickSlopTest, OnlyDraftsLargerThanTwoPixelsAreKept) {
    EditorCanvasView& c = make(capture(100, 100));
    c.setCurrentTool(GetParam().tool);
    const QPointF from(50, 50);
    if (GetParam().by.isNull()) {
        click(&c, from);
    } else {
        drag(&c, from, from + GetParam().by);
    }
    EXPECT_EQ(c.annotations().size(), GetParam().kept ? 1u : 0u);
    EXPECT_EQ(undo.canUndo(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Drafts, ClickSlopTest,
    ::testing::Values(SlopCase{EditorTool::rect, {0, 0}, false}, SlopCase{EditorTool::rect, {2, 2}, false},
                      SlopCase{EditorTool::rect, {3, 0}, true}, SlopCase{EditorTool::oval, {0, 3}, true},
                      SlopCase{EditorTool::line, {-3, 0}, true}, SlopCase{EditorTool::blur, {2, -2}, false},
                      SlopCase{EditorTool::blur, {0, -3}, true}, SlopCase{EditorTool::pen, {0, 0}, true}));

TEST_F(CanvasTest, PenFollowsEveryMoveAndASingleClickDrawsNothingAndCannotBeSelected) {
    EditorCanvasView& c = make(capture(100, 100));
    c.setCurrentTool(EditorTool::pen);
    drag(&c, {10, 10}, {50, 10}, 8);
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(dynamic_cast<const PenAnnotation&>(*c.annotations()[0]).points.size(), 9);

    EditorCanvasView& dot = make(capture(100, 100));
    dot.setCurrentTool(EditorTool::pen);
    click(&dot, {30, 30});
    ASSERT_EQ(dot.annotations().size(), 1u);
    EXPECT_EQ(dynamic_cast<const PenAnnotation&>(*dot.annotations()[0]).points.size(), 1);
    EXPECT_EQ(dot.flattened().image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              dot.image().image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    dot.setCurrentTool(EditorTool::select);
    click(&dot, {30, 30});
    EXPECT_EQ(dot.selected(), nullptr);
}

TEST_F(CanvasTest, BlurSpansTheDragWhicheverWayItGoes) {
    EditorCanvasView& c = make(capture(100, 100, 2.0));
    c.setCurrentTool(EditorTool::blur);
    drag(&c, {60, 20}, {10, 50});
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(dynamic_cast<const BlurAnnotation&>(*c.annotations()[0]).rect, QRectF(20, 100, 100, 60));
}

struct CounterCase {
    int deleted; // which of counters 1, 2, 3 is deleted, 0 for none
    int next;
};

class CounterTest : public CanvasTest, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(CounterTest, NextIsOneMoreThanTheHighestLeft) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::counter);
    for (int i = 0; i < 3; ++i) {
        press(&c, QPointF(30 + 50 * i, 50)); // placed on press, numbered from 1
        ASSERT_EQ(dynamic_cast<const CounterAnnotation&>(*c.annotations().back()).number, i + 1);
        release(&c, QPointF(30 + 50 * i, 50));
    }
    if (GetParam().deleted) {
        c.setCurrentTool(EditorTool::select);
        click(&c, QPointF(30 + 50 * (GetParam().deleted - 1), 50));
        ASSERT_NE(c.selected(), nullptr);
        c.deleteSelection();
        c.setCurrentTool(EditorTool::counter);
    }
    click(&c, {100, 90});
    const auto* last = dynamic_cast<const CounterAnnotation*>(c.annotations().back().get());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->number, GetParam().next);
    EXPECT_EQ(last->center, QPointF(100, 10));
}

INSTANTIATE_TEST_SUITE_P(Gaps, CounterTest,
                         ::testing::Values(CounterCase{0, 4}, CounterCase{1, 4}, CounterCase{2, 4},
                                           CounterCase{3, 3}));

struct HighlightCase {
    QColor current;
    QColor drawn;
};

class HighlightColourTest : public CanvasTest, public ::testing::WithParamInterface<HighlightCase> {};

TEST_P(HighlightColourTest, RedBecomesYellowOtherColoursStay) {
    EditorCanvasView& c = make(capture(100, 100));
    c.setCurrentColor(GetParam().current);
    c.setCurrentTool(EditorTool::highlight);
    drag(&c, {10, 10}, {60, 30});
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(c.annotations()[0]->color.rgba(), GetParam().drawn.rgba());
    EXPECT_EQ(c.currentColor().rgba(), GetParam().current.rgba()); // the choice itself is unchanged
}

INSTANTIATE_TEST_SUITE_P(
    Colours, HighlightColourTest,
    ::testing::Values(HighlightCase{canvascolors::systemRed(), canvascolors::systemYellow()},
                      HighlightCase{canvascolors::systemRed().toHsv(), canvascolors::systemYellow()},
                      HighlightCase{QColor(254, 59, 48), QColor(254, 59, 48)},
                      HighlightCase{QColor(0, 200, 0), QColor(0, 200, 0)},
                      HighlightCase{canvascolors::systemYellow(), canvascolors::systemYellow()}));

TEST_F(CanvasTest, StartsWithTheSelectToolInTheSystemRedThatAnnotationsUse) {
    EditorCanvasView& c = make(capture(100, 100));
    EXPECT_EQ(c.currentTool(), EditorTool::select);
    EXPECT_EQ(c.currentColor().rgba(), Annotation::defaultColor().rgba());
    c.setCurrentTool(EditorTool::rect);
    drag(&c, {10, 10}, {40, 40});
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(c.annotations()[0]->color.rgba(), Annotation::defaultColor().rgba());
}

struct MagnificationCase {
    double m;
    QSize widget; // for 300 × 200 points
};

class MagnificationTest : public CanvasTest, public ::testing::WithParamInterface<MagnificationCase> {};

// The same drag in view points must land on the same pixels whatever the zoom.
TEST_P(MagnificationTest, DragScaledByTheMagnificationLandsOnTheSamePixels) {
    const double m = GetParam().m;
    EditorCanvasView& c = make(capture(300, 200, 2.0));
    c.setMagnification(m);
    EXPECT_EQ(c.size(), GetParam().widget);
    EXPECT_EQ(c.pointSize(), QSizeF(300, 200));
    c.setCurrentTool(EditorTool::arrow);
    drag(&c, QPointF(40, 30) * m, QPointF(140, 90) * m);
    ASSERT_EQ(c.annotations().size(), 1u);
    const auto& arrow = dynamic_cast<const ShapeAnnotation&>(*c.annotations()[0]);
    EXPECT_NEAR(arrow.start.x(), 80, 1e-9);
    EXPECT_NEAR(arrow.start.y(), 340, 1e-9);
    EXPECT_NEAR(arrow.end.x(), 280, 1e-9);
    EXPECT_NEAR(arrow.end.y(), 220, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Zoom, MagnificationTest,
    ::testing::Values(MagnificationCase{1.0, {300, 200}}, MagnificationCase{2.0, {600, 400}},
                      MagnificationCase{0.5, {150, 100}}, MagnificationCase{0.3, {90, 60}},
                      MagnificationCase{0.33, {99, 66}}, MagnificationCase{8.0, {2400, 1600}}));

struct CursorCase {
    EditorTool tool;
    Qt::CursorShape shape;
};

class CursorTest : public CanvasTest, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorTest, FollowsTheTool) {
    EditorCanvasView& c = make(capture(50, 50));
    c.setCurrentTool(EditorTool::text);
    c.setCurrentTool(GetParam().tool);
    EXPECT_EQ(c.cursor().shape(), GetParam().shape);
}

INSTANTIATE_TEST_SUITE_P(Tools, CursorTest,
                         ::testing::Values(CursorCase{EditorTool::text, Qt::IBeamCursor},
                                           CursorCase{EditorTool::select, Qt::ArrowCursor},
                                           CursorCase{EditorTool::arrow, Qt::CrossCursor},
                                           CursorCase{EditorTool::pen, Qt::CrossCursor},
                                           CursorCase{EditorTool::counter, Qt::CrossCursor},
                                           CursorCase{EditorTool::blur, Qt::CrossCursor},
                                           CursorCase{EditorTool::crop, Qt::CrossCursor}));

TEST_F(CanvasTest, OtherButtonsAndStrayMovesDoNothing) {
    EditorCanvasView& c = make(capture(100, 100));
    c.setCurrentTool(EditorTool::rect);
    sendMouse(&c, QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    sendMouse(&c, QEvent::MouseMove, {60, 60}, Qt::NoButton, Qt::RightButton);
    sendMouse(&c, QEvent::MouseButtonRelease, {60, 60}, Qt::RightButton, Qt::NoButton);
    moveTo(&c, {70, 70});
    release(&c, {80, 80});
    EXPECT_TRUE(c.annotations().empty());
    EXPECT_FALSE(undo.canUndo());
}

} // namespace
