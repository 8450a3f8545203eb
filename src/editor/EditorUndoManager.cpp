#include "editor/EditorUndoManager.h"

#include <QMetaObject>

EditorUndoManager::EditorUndoManager(QObject* parent) : QObject(parent) {}

EditorUndoManager::~EditorUndoManager() = default;

void EditorUndoManager::registerUndo(std::function<void()> handler) {
    if (!handler) return;
    if (m_mode != Mode::normal) {
        // Undoing or redoing: the handlers' own registrations become the opposite step.
        m_collecting.push_back(std::move(handler));
        return;
    }
    if (!m_groupOpen || m_undo.empty()) {
        m_undo.emplace_back();
        m_groupOpen = true;
        closeGroupLater();
    }
    m_undo.back().push_back(std::move(handler));
    m_redo.clear();
    emit changed();
}

void EditorUndoManager::undo() {
    replay(m_undo, Mode::undoing);
}

void EditorUndoManager::redo() {
    replay(m_redo, Mode::redoing);
}

bool EditorUndoManager::canUndo() const {
    return !m_undo.empty();
}

bool EditorUndoManager::canRedo() const {
    return !m_redo.empty();
}

void EditorUndoManager::endGroup() {
    m_groupOpen = false;
}

std::vector<EditorUndoManager::Group>& EditorUndoManager::targetStack() {
    return m_mode == Mode::undoing ? m_redo : m_undo;
}

// The group stays open until the event being handled is done: a queued call runs only once control
// is back in the event loop, after every registration the current event makes.
void EditorUndoManager::closeGroupLater() {
    if (m_closeQueued) return;
    m_closeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_closeQueued = false;
            endGroup();
        },
        Qt::QueuedConnection);
}

void EditorUndoManager::replay(std::vector<Group>& from, Mode mode) {
    if (m_mode != Mode::normal || from.empty()) return;
    // Whatever was registered before belongs to an earlier gesture, not to what follows.
    endGroup();
    Group group = std::move(from.back());
    from.pop_back();
    m_mode = mode;
    m_collecting.clear();
    for (auto it = group.rbegin(); it != group.rend(); ++it)
        (*it)();
    Group opposite = std::move(m_collecting);
    m_collecting.clear();
    if (!opposite.empty()) targetStack().push_back(std::move(opposite));
    m_mode = Mode::normal;
    emit changed();
}
