// Selecting, moving, recolouring and deleting, each with its undo and redo.
#include "EditorCanvasTestSupport.h"

#include "editor/Annotations.h"

namespace {

using namespace canvastest;
using Kind = ShapeAnnotation::Kind;

// 200 × 100 points at scale 1: widget (x, y) is pixel (x, 100 − y).
class EditTest : public CanvasTest {
  protected:
    EditorCanvasView& withRects() {
        EditorCanvasView& c = make(capture(200, 100));
        c.setCurrentTool(EditorTool::rect);
        c.setCurrentColor(QColor(0, 0, 255));
        drag(&c, {20, 20}, {80, 80});  // pixels (20, 20)–(80, 80)
        drag(&c, {50, 20}, {120, 80}); // overlaps the first, on top
        c.setCurrentTool(EditorTool::select);
        return c;
    }
    const ShapeAnnotation& shape(size_t i) const {
        return dynamic_cast<const ShapeAnnotation&>(*canvas->annotations().at(i));
    }
};

TEST_F(EditTest, TheTopmostAnnotationUnderTheClickIsSelected) {
    EditorCanvasView& c = withRects();
    click(&c, {80, 50}); // the first's right edge, inside the second but away from its outline
    EXPECT_EQ(c.selected(), c.annotations()[0].get());
    click(&c, {50, 50}); // the second's left edge lies over the first's inside: the later one wins
    EXPECT_EQ(c.selected(), c.annotations()[1].get());
    click(&c, {180, 50});
    EXPECT_EQ(c.selected(), nullptr);
}

TEST_F(EditTest, MovingFollowsTheDragAndUndoesInOneStep) {
    EditorCanvasView& c = withRects();
    drag(&c, {120, 50}, {150, 30}, 6);
    ASSERT_EQ(c.selected(), c.annotations()[1].get());
    EXPECT_EQ(shape(1).start, QPointF(80, 100));
    EXPECT_EQ(shape(1).end, QPointF(150, 40));
    EXPECT_EQ(shape(0).start, QPointF(20, 80)); // the other stays

    undo.undo();
    EXPECT_EQ(shape(1).start, QPointF(50, 80));
    EXPECT_EQ(c.selected(), nullptr);
    undo.redo();
    EXPECT_EQ(shape(1).start, QPointF(80, 100));
}

TEST_F(EditTest, ASelectingClickAloneLeavesAStepThatChangesNothing) {
    EditorCanvasView& c = withRects();
    click(&c, {120, 50});
    undo.undo();
    EXPECT_EQ(c.annotations().size(), 2u); // the click's step, not the second rectangle
    EXPECT_EQ(shape(1).start, QPointF(50, 80));
    undo.undo();
    EXPECT_EQ(c.annotations().size(), 1u);
}

TEST_F(EditTest, RecolouringTheSelectionIsUndoable) {
    EditorCanvasView& c = withRects();
    click(&c, {20, 50});
    c.setCurrentColor(QColor(0, 200, 0));
    EXPECT_EQ(shape(0).color, QColor(0, 200, 0));
    EXPECT_EQ(shape(1).color, QColor(0, 0, 255));
    QApplication::processEvents();
    undo.undo();
    EXPECT_EQ(shape(0).color, QColor(0, 0, 255));
    undo.redo();
    EXPECT_EQ(shape(0).color, QColor(0, 200, 0));
}

TEST_F(EditTest, ChangingTheColourWithoutASelectionTouchesNothing) {
    EditorCanvasView& c = withRects();
    click(&c, {180, 50});
    c.setCurrentColor(QColor(0, 200, 0));
    EXPECT_EQ(shape(0).color, QColor(0, 0, 255));
    EXPECT_EQ(shape(1).color, QColor(0, 0, 255));
    QApplication::processEvents();
    undo.undo(); // had the colour made a step, this would undo it instead of the second rectangle
    EXPECT_EQ(c.annotations().size(), 1u);
}

TEST_F(EditTest, SwitchingToolsKeepsTheSelectionForRecolourAndDelete) {
    EditorCanvasView& c = withRects();
    click(&c, {20, 50});
    c.setCurrentTool(EditorTool::oval);
    EXPECT_EQ(c.selected(), c.annotations()[0].get());
    c.deleteSelection();
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(shape(0).start, QPointF(50, 80));
}

TEST_F(EditTest, DeleteRemovesThatVeryObjectNotAnEqualOne) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::rect);
    drag(&c, {20, 20}, {80, 80});
    drag(&c, {20, 20}, {80, 80}); // an identical rectangle on top
    c.setCurrentTool(EditorTool::select);
    click(&c, {20, 50});
    const Annotation* top = c.annotations()[1].get();
    ASSERT_EQ(c.selected(), top);
    const Annotation* bottom = c.annotations()[0].get();
    c.deleteSelection();
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(c.annotations()[0].get(), bottom);
    EXPECT_EQ(c.selected(), nullptr);

    QApplication::processEvents();
    undo.undo();
    EXPECT_EQ(c.annotations().size(), 2u);
    undo.redo();
    EXPECT_EQ(c.annotations().size(), 1u);
}

TEST_F(EditTest, DeletingWithNothingSelectedRegistersNothing) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::rect);
    drag(&c, {20, 20}, {80, 80});
    undo.undo();
    ASSERT_TRUE(undo.canRedo());
    c.deleteSelection();
    EXPECT_TRUE(undo.canRedo());
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(EditTest, UndoStepsOutliveTheirCanvasHarmlessly) {
    EditorCanvasView& c = withRects();
    click(&c, {20, 50});
    canvas.reset();
    undo.undo();
    EXPECT_TRUE(undo.canUndo());
}

} // namespace
