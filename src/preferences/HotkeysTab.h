#pragma once

#include "preferences/PreferencesServices.h"

#include <QWidget>

#include <vector>

class RecorderButton;
class Settings;

// How to free the desktop's own screenshot keys, then one shortcut recorder per action.
class HotkeysTab : public QWidget {
    Q_OBJECT
  public:
    HotkeysTab(Settings& settings, const PreferencesServices& services, QWidget* parent = nullptr);

    const std::vector<RecorderButton*>& recorders() const { return m_recorders; }

  private:
    QWidget* buildInstructions(const PreferencesServices& services);
    // Where the desktop does not let programs grab keys: what to bind in the compositor instead.
    QWidget* buildDesktopBindingNote();

    std::vector<RecorderButton*> m_recorders;
};
