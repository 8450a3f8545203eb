#pragma once

#include "platform/Capabilities.h"
#include "preferences/KeyboardSettings.h"

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

class DesktopShortcuts;
class QWidget;

// Start at login, as the application provides it. The preferences only read and flip it.
struct LoginItem {
    std::function<bool()> isEnabled;
    std::function<void(bool)> set;
};

// What the preferences window needs from outside itself. The controller fills it with the real
// services; tests put fakes in, so no modal dialog or desktop program ever opens during a test.
struct PreferencesServices {
    // Re-registers every global hotkey from the settings.
    std::function<void()> reloadHotkeys;
    // Lets go of every global hotkey until the next reload.
    std::function<void()> releaseHotkeys;
    // Empty members leave the launch-at-startup check box disabled.
    LoginItem loginItem;
    // A folder picked by the user, starting in `start`; none when cancelled.
    std::function<std::optional<QString>(QWidget* parent, const QString& start)> chooseFolder;
    // A colour picked by the user, starting at `current`; none when cancelled.
    std::function<std::optional<QColor>(QWidget* parent, const QColor& current)> chooseColor;
    // The running desktop, as the Hotkeys tab describes it.
    keyboardsettings::Desktop desktop;
    // Opens the desktop's keyboard-shortcut settings; empty when no such program is installed.
    std::function<void()> openKeyboardSettings;
    // What the desktop lets the program do; without global hotkeys by key the recorders are off.
    Capabilities capabilities = Capabilities::all();
    // Where the desktop binds the shortcuts itself: what it bound, and its dialog for changing it.
    DesktopShortcuts* desktopShortcuts = nullptr;

    // Dialogs, the desktop's settings program and the shared hotkey manager.
    static PreferencesServices standard();
};
