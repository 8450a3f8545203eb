#include "editor/CanvasTextField.h"

#include <QKeyEvent>

namespace {

bool endsTyping(const QKeyEvent* key) {
    return key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

CanvasTextField::CanvasTextField(QWidget* parent) : QLineEdit(parent) {}

bool CanvasTextField::event(QEvent* event) {
    // A window shortcut bound to Escape or Return would otherwise take the key before the field sees it.
    if (event->type() == QEvent::ShortcutOverride && endsTyping(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CanvasTextField::keyPressEvent(QKeyEvent* event) {
    if (endsTyping(event)) {
        event->accept();
        emit ended();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CanvasTextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A popup (the field's own context menu) or another window coming to the front does not end typing.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit ended();
}
