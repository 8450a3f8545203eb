#include "preferences/PreferencesServices.h"

#include "hotkeys/HotkeyManager.h"
#include "platform/HotkeyService.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "preferences/KeyboardSettings.h"

#include <QColorDialog>
#include <QFileDialog>

#include <cstdio>

PreferencesServices PreferencesServices::standard() {
    PreferencesServices s;
    s.reloadHotkeys = [] { HotkeyManager::shared().reloadAll(); };
    s.releaseHotkeys = [] { HotkeyManager::shared().unregisterAll(); };
    s.chooseFolder = [](QWidget* parent, const QString& start) -> std::optional<QString> {
        // Folders only; the dialog lets the user make a new one.
        const QString dir = QFileDialog::getExistingDirectory(parent, QStringLiteral("Screenshots folder"),
                                                              start, QFileDialog::ShowDirsOnly);
        if (dir.isEmpty()) return std::nullopt;
        return dir;
    };
    s.chooseColor = [](QWidget* parent, const QColor& current) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(current, parent, QStringLiteral("Backdrop color"));
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    if (Platform::isInstalled()) {
        s.capabilities = Platform::current().capabilities();
        s.desktopShortcuts = Platform::current().hotkeys().desktopShortcuts();
    }
    s.desktop = keyboardsettings::current();
    if (const auto command = keyboardsettings::find(s.desktop))
        s.openKeyboardSettings = [c = *command] {
            if (!keyboardsettings::open(c))
                qCWarning(lcPreferences, "cannot start %s", qPrintable(c.program));
        };
    return s;
}
