#pragma once

#include "preferences/ColorWell.h"

#include <QWidget>

#include <vector>

class BGStyleCard;
class SettingsBinder;

// The General tab's background section: a heading, one card per window-shot background style
// and the backdrop colour well, which only the solid style uses.
class BackgroundStylePicker : public QWidget {
    Q_OBJECT
  public:
    BackgroundStylePicker(SettingsBinder& binder, ColorWell::Chooser chooseColor, QWidget* parent = nullptr);

    const std::vector<BGStyleCard*>& cards() const { return m_cards; }
    ColorWell* colorWell() const { return m_well; }
    // The well with its label; hidden, with its room kept, unless the solid style is chosen.
    QWidget* colorRow() const { return m_colorRow; }

  private:
    QWidget* buildHeading();
    QWidget* buildColorRow(ColorWell::Chooser chooseColor);
    void showStoredStyle();
    void showStoredColor();

    SettingsBinder& m_binder;
    std::vector<BGStyleCard*> m_cards;
    ColorWell* m_well = nullptr;
    QWidget* m_colorRow = nullptr;
};
