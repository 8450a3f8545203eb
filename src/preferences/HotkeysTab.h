#pragma once

#include "preferences/PreferencesServices.h"

#include <QWidget>

#include <vector>

class QLabel;
class RecorderButton;
class Settings;

// Which desktop runs and how to free its own screenshot keys, then one shortcut recorder per
// action.
class HotkeysTab : public QWidget {
    Q_OBJECT
  public:
    HotkeysTab(Settings& settings, const PreferencesServices& services, QWidget* parent = nullptr);

    const std::vector<RecorderButton*>& recorders() const { return m_recorders; }
    // Says which action a recorded combination was taken from; empty until one is.
    QLabel* movedNote() const { return m_movedNote; }

  private:
    QWidget* buildInstructions(const PreferencesServices& services);
    // Where the desktop does not let programs grab keys: what to bind in the compositor instead.
    QWidget* buildDesktopBindingNote();

    std::vector<RecorderButton*> m_recorders;
    QLabel* m_movedNote = nullptr;
};
