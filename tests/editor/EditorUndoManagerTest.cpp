// Grouping of undo steps per event-loop pass, and undo producing redo and back.
#include "editor/EditorUndoManager.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <string>

namespace {

// A value whose every change is undoable the way the canvas does it: the step first re-registers
// the current value, then puts the old one back.
struct Undoable {
    EditorUndoManager& manager;
    std::string value;

    void set(const std::string& next) {
        remember();
        value = next;
    }
    void remember() {
        manager.registerUndo([this, old = value] {
            remember();
            value = old;
        });
    }
};

TEST(EditorUndoManager, StepsOfOneEventLoopPassUndoTogetherLaterFirst) {
    EditorUndoManager manager;
    std::string order;
    manager.registerUndo([&] { order += "a"; });
    manager.registerUndo([&] { order += "b"; });
    QCoreApplication::processEvents();
    manager.registerUndo([&] { order += "c"; });
    QCoreApplication::processEvents();

    manager.undo();
    EXPECT_EQ(order, "c");
    manager.undo();
    EXPECT_EQ(order, "cba");
    EXPECT_FALSE(manager.canUndo());
}

TEST(EditorUndoManager, UndoMakesRedoAndRedoMakesUndo) {
    EditorUndoManager manager;
    Undoable text{manager, "one"};
    text.set("two");
    QCoreApplication::processEvents();
    text.set("three");
    QCoreApplication::processEvents();

    manager.undo();
    EXPECT_EQ(text.value, "two");
    manager.undo();
    EXPECT_EQ(text.value, "one");
    EXPECT_FALSE(manager.canUndo());
    ASSERT_TRUE(manager.canRedo());
    manager.redo();
    EXPECT_EQ(text.value, "two");
    manager.redo();
    EXPECT_EQ(text.value, "three");
    EXPECT_FALSE(manager.canRedo());
    manager.undo();
    EXPECT_EQ(text.value, "two");
}

TEST(EditorUndoManager, GroupedStepsRedoInTheirOriginalOrder) {
    EditorUndoManager manager;
    Undoable text{manager, ""};
    text.set("a");
    text.set("ab"); // same pass: one group
    QCoreApplication::processEvents();
    manager.undo();
    EXPECT_EQ(text.value, "");
    manager.redo();
    EXPECT_EQ(text.value, "ab");
    manager.undo();
    EXPECT_EQ(text.value, "");
}

TEST(EditorUndoManager, ANewStepDropsRedo) {
    EditorUndoManager manager;
    Undoable text{manager, "one"};
    text.set("two");
    QCoreApplication::processEvents();
    manager.undo();
    ASSERT_TRUE(manager.canRedo());
    text.set("other");
    EXPECT_FALSE(manager.canRedo());
}

TEST(EditorUndoManager, UndoEndsTheOpenGroupSoLaterStepsStandAlone) {
    EditorUndoManager manager;
    Undoable text{manager, "one"};
    text.set("two");
    manager.undo(); // no event-loop pass in between
    EXPECT_EQ(text.value, "one");
    text.set("three");
    text.set("four");
    QCoreApplication::processEvents();
    manager.undo();
    EXPECT_EQ(text.value, "one");
    EXPECT_FALSE(manager.canUndo());
}

TEST(EditorUndoManager, ReportsEveryChange) {
    EditorUndoManager manager;
    QSignalSpy changed(&manager, &EditorUndoManager::changed);
    Undoable text{manager, "one"};
    text.set("two");
    EXPECT_EQ(changed.count(), 1);
    manager.undo();
    EXPECT_EQ(changed.count(), 2);
    manager.redo();
    EXPECT_EQ(changed.count(), 3);
    manager.undo();
    manager.undo(); // nothing left: no change
    EXPECT_EQ(changed.count(), 4);
}

} // namespace
