#pragma once

#include "preferences/PreferencesServices.h"

#include <QWidget>

class AdvancedTab;
class GeneralTab;
class HotkeysTab;
class QTabWidget;
class Settings;
class SettingsBinder;

// The tabbed preferences: General, Hotkeys, Uploading, Advanced, About. Every control writes its
// setting at once; there is nothing to apply. 600 points wide, as tall as the current tab needs,
// never resizable by the user.
class PreferencesWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int contentWidth = 600;

    PreferencesWindow(Settings& settings, const PreferencesServices& services, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    GeneralTab* generalTab() const { return m_general; }
    HotkeysTab* hotkeysTab() const { return m_hotkeys; }

  private:
    void fitCurrentTab();
    void tellStoreFailure();

    SettingsBinder* m_binder = nullptr;
    QTabWidget* m_tabs = nullptr;
    GeneralTab* m_general = nullptr;
    HotkeysTab* m_hotkeys = nullptr;
    bool m_storeFailureTold = false;
};
