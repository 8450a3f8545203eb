// Global shortcuts in a real headless sway session, whose portals bind none: Pictro must learn
// that from the portal (not from the desktop's name), refuse the registrations, and show in the
// Hotkeys tab what to bind in the compositor instead.
#include "WaylandSession.h"
#include "platform/HotkeyService.h"
#include "platform/Platform.h"
#include "platform/wayland/PortalGlobalShortcuts.h"
#include "preferences/HotkeysTab.h"
#include "preferences/PreferencesServices.h"
#include "preferences/PreferencesWindow.h"
#include "settings/Settings.h"

#include <QDBusConnection>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(WaylandHotkeys, WithoutAShortcutPortalRegistrationsAreRefusedAndTheTabShowsTheCompositorBinding) {
    EXPECT_EQ(PortalGlobalShortcuts::version(QDBusConnection::sessionBus()), 0u);

    Settings::registerDefaults();
    const waylandsession::InstalledPlatform platform;
    HotkeyService& hotkeys = Platform::current().hotkeys();
    EXPECT_EQ(hotkeys.desktopShortcuts(), nullptr);
    const HotkeyRequest area{QStringLiteral("area"), QStringLiteral("Area screenshot"), 19, 0x300};
    EXPECT_NE(hotkeys.registerHotkey(area, {HotkeyService::fourCharCode("PCTR"), 1}), 0);

    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    PreferencesWindow window(settings, PreferencesServices::standard());
    const HotkeysTab* tab = window.hotkeysTab();
    EXPECT_EQ(tab->findChild<QLabel*>(QStringLiteral("desktopShortcutsNote")), nullptr);
    const auto* note = tab->findChild<QLabel*>(QStringLiteral("desktopBindingNote"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains(QStringLiteral("bindsym Ctrl+Shift+2 exec pictro --action area")));
}
