#pragma once

#include <QColor>
#include <QToolButton>

// A small swatch of the drawing colour; clicking it opens a colour dialog.
class EditorColorButton : public QToolButton {
    Q_OBJECT
  public:
    explicit EditorColorButton(const QColor& color, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Shows the colour and raises colorChanged when it differs from the current one.
    void setColor(const QColor& color);

  signals:
    void colorChanged(const QColor& color);

  private:
    void chooseColor();
    void updateSwatch();

    QColor m_color;
};
