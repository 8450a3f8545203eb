#include "PreferencesTestSupport.h"

#include "platform/fake/FakePlatform.h"
#include "preferences/PreferencesWindow.h"

#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace prefstest {

FakePlatform& platform() {
    static FakePlatform& installed = []() -> FakePlatform& {
        Settings::registerDefaults();
        FakePlatform& p = FakePlatform::installNew();
        p.fakeScreens.addScreen(QRectF(0, 0, 1440, 900), 1.0);
        return p;
    }();
    return installed;
}

World::World()
    : settings(dir.filePath(QStringLiteral("Pictro.conf"))), hotkeys(platform().fakeHotkeys, settings) {
    platform().fakeHotkeys.live.clear();
    platform().fakeHotkeys.unregistered.clear();
    hotkeys.reloadAll();
}

World::~World() {
    for (const auto& [id, action] : hotkeys.registrations())
        platform().fakeHotkeys.unregisterHotkey({HotkeyManager::signature, id});
}

PreferencesServices World::services() {
    PreferencesServices s;
    s.reloadHotkeys = [this] { hotkeys.reloadAll(); };
    s.loginItem.isEnabled = [this] { return loginEnabled; };
    s.loginItem.set = [this](bool on) {
        loginCalls.push_back(on);
        if (!loginRefuses) loginEnabled = on;
    };
    s.chooseFolder = [this](QWidget*, const QString& start) {
        folderStarts.push_back(start);
        return folderAnswer;
    };
    s.chooseColor = [this](QWidget*, const QColor&) { return colorAnswer; };
    s.desktop = desktop;
    if (keyboardSettingsInstalled) s.openKeyboardSettings = [this] { ++keyboardSettingsOpened; };
    return s;
}

std::unique_ptr<PreferencesWindow> World::openWindow() {
    auto window = std::make_unique<PreferencesWindow>(settings, services());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

void showTabOf(PreferencesWindow& window, QWidget* widget) {
    QTabWidget* tabs = window.tabs();
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(widget)) tabs->setCurrentIndex(i);
}

} // namespace prefstest
