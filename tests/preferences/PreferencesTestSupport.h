#pragma once

#include "hotkeys/HotkeyManager.h"
#include "preferences/PreferencesServices.h"
#include "settings/Settings.h"

#include <QColor>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

class FakePlatform;
class PreferencesWindow;
class QWidget;

namespace prefstest {

// The fake platform, installed once for the program (the shared hotkey manager would keep a
// reference into a replaced one).
FakePlatform& platform();

// A settings store of its own, a hotkey manager over the fake hotkey service, and fake dialogs
// and login item whose answers and calls the test sets and reads.
struct World {
    World();
    ~World();

    QTemporaryDir dir;
    Settings settings;
    HotkeyManager hotkeys;

    std::optional<QString> folderAnswer;
    std::vector<QString> folderStarts; // where each folder chooser started
    std::optional<QColor> colorAnswer;
    bool loginEnabled = false;
    bool loginRefuses = false;
    std::vector<bool> loginCalls;
    keyboardsettings::Desktop desktop; // a bare window manager unless a test says otherwise
    bool keyboardSettingsInstalled = true;
    int keyboardSettingsOpened = 0;

    PreferencesServices services();
    // A window over these settings and services, shown.
    std::unique_ptr<PreferencesWindow> openWindow();
};

// Brings the tab holding `widget` to the front, so it can be clicked.
void showTabOf(PreferencesWindow& window, QWidget* widget);

} // namespace prefstest
