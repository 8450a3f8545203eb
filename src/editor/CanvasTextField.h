#pragma once

#include <QLineEdit>

// The single-line field the canvas opens for typing a text annotation. Typing ends on Return, on
// Escape and when the field loses focus; each of these emits `ended` and the canvas commits what
// was typed. Escape ends typing only: it is consumed here so it never reaches the editor window,
// which would otherwise close.
class CanvasTextField : public QLineEdit {
    Q_OBJECT

  public:
    explicit CanvasTextField(QWidget* parent = nullptr);

  signals:
    void ended();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
