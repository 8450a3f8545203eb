#pragma once

#include <QColor>
#include <QPushButton>

#include <functional>
#include <optional>

// A button showing a colour swatch; a click asks the chooser for a new colour (opaque only).
class ColorWell : public QPushButton {
    Q_OBJECT
  public:
    using Chooser = std::function<std::optional<QColor>(QWidget* parent, const QColor& current)>;

    ColorWell(Chooser chooser, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Shows the colour without announcing it (the stored value being displayed).
    void showColor(const QColor& color);

  signals:
    // The user picked a colour.
    void colorPicked(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void choose();

    Chooser m_chooser;
    QColor m_color = Qt::white;
};
