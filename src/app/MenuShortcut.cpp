#include "app/MenuShortcut.h"

QString menuShortcut(const std::optional<KeyCombo>& combo) {
    if (!combo || KeyCombo::keyName(combo->keyCode).size() != 1) return {};
    return combo->label();
}

QString menuItemText(const QString& title, const QString& shortcut) {
    // A tab in an item's text is the menu's own shortcut column; unlike a key sequence, the text
    // keeps the program's modifier order.
    return shortcut.isEmpty() ? title : title + QLatin1Char('\t') + shortcut;
}

QString menuItemTitle(const QString& text) {
    return text.section(QLatin1Char('\t'), 0, 0);
}

QString menuItemShortcut(const QString& text) {
    return text.section(QLatin1Char('\t'), 1);
}
