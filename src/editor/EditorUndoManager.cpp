#include "editor/EditorUndoManager.h"

EditorUndoManager::EditorUndoManager(QObject* parent) : QObject(parent) {}
EditorUndoManager::~EditorUndoManager() = default;

void EditorUndoManager::registerUndo(std::function<void()> handler) { m_undo.push_back({std::move(handler)}); emit changed(); }
void EditorUndoManager::undo() {}
void EditorUndoManager::redo() {}
bool EditorUndoManager::canUndo() const { return !m_undo.empty(); }
bool EditorUndoManager::canRedo() const { return !m_redo.empty(); }
void EditorUndoManager::endGroup() {}
void EditorUndoManager::removeAll() { m_undo.clear(); m_redo.clear(); emit changed(); }
std::vector<EditorUndoManager::Group>& EditorUndoManager::targetStack() { return m_undo; }
void EditorUndoManager::closeGroupLater() {}
void EditorUndoManager::replay(std::vector<Group>&, Mode) {}
