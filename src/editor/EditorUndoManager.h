#pragma once

#include <QObject>

#include <functional>
#include <vector>

// A stack of undo and redo steps for one editor window. A step is a handler that puts the state
// back; a handler that registers a step itself (while undoing) makes the matching redo step, and
// while redoing makes the undo step again.
//
// Steps registered while one input event is being handled belong together: they form one group,
// undone (and redone) in one go, the later step first. The group closes when control returns to
// the event loop.
class EditorUndoManager : public QObject {
    Q_OBJECT

  public:
    explicit EditorUndoManager(QObject* parent = nullptr);
    ~EditorUndoManager() override;

    // Adds a step to the open group (opening one if needed). Registering a new step outside undo
    // and redo drops every redo step.
    void registerUndo(std::function<void()> handler);
    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;

    // Closes the open group now, so the next registration starts a new one.
    void endGroup();

  signals:
    void changed();

  private:
    using Group = std::vector<std::function<void()>>;
    enum class Mode { normal, undoing, redoing };

    std::vector<Group>& targetStack();
    void closeGroupLater();
    void replay(std::vector<Group>& from, Mode mode);

    std::vector<Group> m_undo;
    std::vector<Group> m_redo;
    Group m_collecting;       // steps made by the handlers of one undo or redo
    bool m_groupOpen = false; // the newest undo group still takes steps
    bool m_closeQueued = false;
    Mode m_mode = Mode::normal;
};
