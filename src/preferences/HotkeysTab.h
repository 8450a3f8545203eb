#pragma once

#include "platform/DesktopShortcuts.h"
#include "preferences/PreferencesServices.h"

#include <QPointer>
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
    // Where the desktop binds the shortcuts itself: the key it bound to each action, in order.
    const std::vector<QLabel*>& desktopTriggers() const { return m_desktopTriggers; }

  private:
    QWidget* buildInstructions(const PreferencesServices& services);
    // Where the desktop does not let programs grab keys: what to bind in the compositor instead.
    QWidget* buildDesktopBindingNote();
    // Where the desktop binds the shortcuts itself: what that means, and its dialog's button.
    QWidget* buildDesktopShortcutsNote(DesktopShortcuts& shortcuts);
    void showDesktopTriggers();

    std::vector<RecorderButton*> m_recorders;
    QLabel* m_movedNote = nullptr;
    // Held weakly: the platform that owns it may be replaced while the window is open.
    QPointer<DesktopShortcuts> m_desktopShortcuts;
    std::vector<QLabel*> m_desktopTriggers;
};
