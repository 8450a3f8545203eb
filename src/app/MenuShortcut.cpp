#include "app/MenuShortcut.h"

#include "platform/KeyCodeTable.h"

QKeySequence menuShortcut(const std::optional<KeyCombo>& combo) {
    if (!combo || KeyCombo::keyName(combo->keyCode).size() != 1) return {};
    const auto key = keycodes::toQtKey(combo->keyCode);
    if (!key) return {};
    Qt::KeyboardModifiers mods;
    if (combo->modifiers & KeyCombo::command) mods |= Qt::ControlModifier;
    if (combo->modifiers & KeyCombo::shift) mods |= Qt::ShiftModifier;
    if (combo->modifiers & KeyCombo::option) mods |= Qt::AltModifier;
    if (combo->modifiers & KeyCombo::control) mods |= Qt::MetaModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(*key)));
}
