#include "EditorWindowTestSupport.h"

#include "editor/EditorUndoManager.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <qpa/qwindowsysteminterface.h>

#include <cmath>

using namespace editorwintest;

namespace {

class EditorKeyboardTest : public EditorWindowFixture {
  protected:
    void SetUp() override {
        EditorWindowFixture::SetUp();
        editor = openEditor(800, 600, 2.0);
        canvas = editor->canvas();
    }

    // Turns the wheel over a point of the viewport, delivered as the window system delivers it, so
    // it reaches the widget under the pointer and travels up from there.
    void wheel(int angle, QPointF at = {100, 100}, QPoint pixelDelta = {},
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* viewport = editor->scrollView()->viewport();
        QWidget* window = editor->window();
        const QPointF local = viewport->mapTo(window, at.toPoint());
        QWindowSystemInterface::handleWheelEvent(window->windowHandle(), local,
                                                 window->mapToGlobal(local.toPoint()), pixelDelta,
                                                 QPoint(0, angle), modifiers);
        QWindowSystemInterface::flushWindowSystemEvents();
    }

    double magnification() const { return editor->scrollView()->magnification(); }

    EditorWindowController* editor = nullptr;
    EditorCanvasView* canvas = nullptr;
};

// Counts the key presses that reach the window, i.e. that nothing below consumed.
class KeySpy : public QObject {
  public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Shift && key != Qt::Key_Control) ++presses;
        }
        return false;
    }
};

TEST_F(EditorKeyboardTest, LetterAloneChoosesItsToolButNotWithShiftOrCapsLock) {
    QTest::keyClick(canvas, Qt::Key_R);
    EXPECT_EQ(canvas->currentTool(), EditorTool::rect);
    QTest::keyClick(canvas, Qt::Key_V);
    EXPECT_EQ(canvas->currentTool(), EditorTool::select);

    QTest::keyClick(canvas, Qt::Key_R, Qt::ShiftModifier);
    EXPECT_EQ(canvas->currentTool(), EditorTool::select);
    // Caps Lock on: the letter comes in upper case without Shift…
    QTest::keyClick(canvas, 'R');
    EXPECT_EQ(canvas->currentTool(), EditorTool::select);
    // …or the key state carries the Lock bit.
    QKeyEvent locked(QEvent::KeyPress, Qt::Key_R, Qt::NoModifier, 27, 'r', 0x2, QStringLiteral("r"));
    QApplication::sendEvent(canvas, &locked);
    EXPECT_EQ(canvas->currentTool(), EditorTool::select);
}

TEST_F(EditorKeyboardTest, CtrlZeroGoesBackToExactlyFullSize) {
    editor->setMagnification(0.37);
    EXPECT_EQ(zoomText(editor), QStringLiteral("37%"));
    QTest::keyClick(canvas, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(magnification(), 1.0);
    EXPECT_EQ(zoomText(editor), QStringLiteral("100%"));
}

TEST_F(EditorKeyboardTest, CtrlEqualsZoomsInStepByStepUpToEightHundredPercent) {
    editor->setMagnification(1.0);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(canvas, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(zoomText(editor), QStringLiteral("477%"));
    EXPECT_EQ(canvas->magnification(), magnification());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(canvas, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(zoomText(editor), QStringLiteral("800%"));
    // Shift with "=" types "+": not a zoom command.
    editor->setMagnification(1.0);
    QTest::keyClick(canvas, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(zoomText(editor), QStringLiteral("100%"));
}

TEST_F(EditorKeyboardTest, CtrlMinusStopsAtTenPercent) {
    editor->setMagnification(0.12);
    QTest::keyClick(canvas, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(magnification(), 0.1);
    EXPECT_EQ(zoomText(editor), QStringLiteral("10%"));
}

TEST_F(EditorKeyboardTest, OneWheelNotchIsATenPercentStepAndNotchesStopAtTheLimits) {
    editor->setMagnification(1.0);
    wheel(120);
    EXPECT_DOUBLE_EQ(magnification(), 1.1);
    EXPECT_EQ(zoomText(editor), QStringLiteral("110%"));
    editor->setMagnification(1.0);
    wheel(-120);
    EXPECT_DOUBLE_EQ(magnification(), 0.9);
    EXPECT_EQ(zoomText(editor), QStringLiteral("90%"));

    editor->setMagnification(7.0);
    for (int notch = 0; notch < 10; ++notch)
        wheel(120);
    EXPECT_DOUBLE_EQ(magnification(), 8.0);
    editor->setMagnification(0.2);
    for (int notch = 0; notch < 10; ++notch)
        wheel(-120);
    EXPECT_DOUBLE_EQ(magnification(), 0.1);
    EXPECT_EQ(zoomText(editor), QStringLiteral("10%"));

    settings->set(keys::zoomReverseScroll, true);
    editor->setMagnification(1.0);
    wheel(120);
    EXPECT_DOUBLE_EQ(magnification(), 0.9);
}

TEST_F(EditorKeyboardTest, WheelZoomKeepsThePointUnderThePointer) {
    settings->set(keys::preferZoom100, true);
    EditorWindowController* big = openEditor(4000, 3000, 2.0);
    editor = big;
    canvas = big->canvas();
    const QPointF pointer(300, 200);
    QWidget* viewport = big->scrollView()->viewport();
    const QPointF before = QPointF(canvas->mapFrom(viewport, pointer.toPoint())) / magnification();
    for (int notch = 0; notch < 7; ++notch)
        wheel(120, pointer);
    ASSERT_NEAR(magnification(), std::pow(1.1, 7), 1e-9);
    const QPointF after = QPointF(canvas->mapFrom(viewport, pointer.toPoint())) / magnification();
    EXPECT_NEAR(after.x(), before.x(), 1.0);
    EXPECT_NEAR(after.y(), before.y(), 1.0);
    EXPECT_GT(big->scrollView()->horizontalScrollBar()->value(), 0);
}

TEST_F(EditorKeyboardTest, WheelBesideTheImageZoomsToo) {
    editor->setMagnification(1.0);
    ASSERT_GT(canvas->x(), 10); // the 400-point image sits centred in a 560-point window
    wheel(120, {5, 5});
    EXPECT_DOUBLE_EQ(magnification(), 1.1);
}

TEST_F(EditorKeyboardTest, KeyZoomKeepsTheMiddleOfTheViewInPlace) {
    settings->set(keys::preferZoom100, true);
    EditorWindowController* big = openEditor(4000, 3000, 2.0);
    editor = big;
    canvas = big->canvas();
    EditorScrollView* scroll = big->scrollView();
    scroll->horizontalScrollBar()->setValue(500);
    scroll->verticalScrollBar()->setValue(400);
    const QPoint middle = scroll->viewport()->rect().center();
    const QPointF before = QPointF(canvas->mapFrom(scroll->viewport(), middle)) / magnification();
    QTest::keyClick(canvas, Qt::Key_Equal, Qt::ControlModifier);
    ASSERT_DOUBLE_EQ(magnification(), 1.25);
    const QPointF after = QPointF(canvas->mapFrom(scroll->viewport(), middle)) / magnification();
    EXPECT_NEAR(after.x(), before.x(), 1.0);
    EXPECT_NEAR(after.y(), before.y(), 1.0);
}

TEST_F(EditorKeyboardTest, TouchpadScrollsUnlessCtrlIsHeld) {
    settings->set(keys::preferZoom100, true);
    EditorWindowController* big = openEditor(4000, 3000, 2.0);
    editor = big;
    canvas = big->canvas();
    QScrollBar* vertical = big->scrollView()->verticalScrollBar();
    const int top = vertical->value();
    wheel(-120, {300, 200}, QPoint(0, -40));
    EXPECT_DOUBLE_EQ(magnification(), 1.0);
    EXPECT_GT(vertical->value(), top);
    wheel(24, {300, 200}, QPoint(0, 12), Qt::ControlModifier); // 12 points of precise scrolling
    EXPECT_DOUBLE_EQ(magnification(), 1.1);
}

TEST_F(EditorKeyboardTest, DeleteKeysAreConsumedEvenWithoutASelection) {
    KeySpy spy;
    editor->window()->installEventFilter(&spy);
    QTest::keyClick(canvas, Qt::Key_X);
    ASSERT_EQ(spy.presses, 1); // a key the editor has no use for goes on to the window
    QTest::keyClick(canvas, Qt::Key_Backspace);
    QTest::keyClick(canvas, Qt::Key_Delete);
    EXPECT_EQ(spy.presses, 1);
    EXPECT_TRUE(canvas->annotations().empty());
    EXPECT_TRUE(isOpen(editor));
}

TEST_F(EditorKeyboardTest, DeleteRemovesTheSelectedAnnotation) {
    editor->setMagnification(1.0);
    QTest::keyClick(canvas, Qt::Key_R);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(canvas, QPoint(100, 90));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(150, 120));
    ASSERT_EQ(canvas->annotations().size(), 1u);
    QTest::keyClick(canvas, Qt::Key_V);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(50, 80));
    ASSERT_NE(canvas->selected(), nullptr);
    QTest::keyClick(canvas, Qt::Key_Delete);
    EXPECT_TRUE(canvas->annotations().empty());
}

TEST_F(EditorKeyboardTest, UndoAndRedoReachTheWindowsUndoManager) {
    int undone = 0, redone = 0;
    EditorUndoManager& undo = editor->undoManager();
    undo.registerUndo([&] {
        ++undone;
        undo.registerUndo([&] { ++redone; });
    });
    undo.endGroup();
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 1);
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(redone, 1);
}

// Ctrl shortcuts that leave the editor, or not.
struct ShortcutCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool closes, copies, pins, asksWhereToSave;
};

class EditorShortcut : public EditorKeyboardTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(EditorShortcut, DoesWhatItsTableSays) {
    const ShortcutCase& c = GetParam();
    const size_t pinsBefore = PinWindow::pins().size();
    QPointer<QWidget> window = editor->window();
    QTest::keyClick(canvas, c.key, c.modifiers);
    EXPECT_EQ(!isOpen(editor), c.closes);
    EXPECT_EQ(!platform->fakePasteboard.png.isEmpty(), c.copies);
    EXPECT_EQ(PinWindow::pins().size(), pinsBefore + (c.pins ? 1 : 0));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->findChild<QFileDialog*>() != nullptr, c.asksWhereToSave);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorShortcut,
    ::testing::Values(ShortcutCase{"copy", Qt::Key_C, Qt::ControlModifier, true, true, false, false},
                      ShortcutCase{"save", Qt::Key_S, Qt::ControlModifier, false, false, false, true},
                      ShortcutCase{"saveAs", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, false, false,
                                   false, true},
                      ShortcutCase{"pin", Qt::Key_P, Qt::ControlModifier, true, false, true, false},
                      ShortcutCase{"close", Qt::Key_W, Qt::ControlModifier, true, false, false, false},
                      ShortcutCase{"ctrlShiftCIsNothing", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier,
                                   false, false, false, false},
                      ShortcutCase{"altCIsNothing", Qt::Key_C, Qt::AltModifier, false, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorKeyboardTest, KeysGoToTheTextFieldWhileTextIsTyped) {
    editor->setMagnification(1.0);
    QTest::keyClick(canvas, Qt::Key_T);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(60, 60));
    QLineEdit* field = canvas->textField();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, QStringLiteral("rav"));
    EXPECT_EQ(canvas->currentTool(), EditorTool::text);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), QStringLiteral("ra"));
    // A Ctrl shortcut the field has no use of still reaches the editor.
    editor->setMagnification(0.5);
    QTest::keyClick(field, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(magnification(), 1.0);
    ASSERT_EQ(canvas->textField(), field);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(isOpen(editor)); // Escape ends the text, not the editor
    EXPECT_EQ(canvas->textField(), nullptr);
    EXPECT_EQ(canvas->annotations().size(), 1u);
}

} // namespace
