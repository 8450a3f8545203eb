#include "app/StatusMenu.h"
#include "app/AppDelegate.h"
#include "app/LaunchAtLogin.h"
#include "app/LaunchToast.h"
#include "app/MenuShortcut.h"
#include "editor/EditorToolbar.h"
#include "platform/fake/FakePlatform.h"
#include "preferences/RecorderButton.h"
#include "settings/Settings.h"

#include "support/TestSupport.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QStringList titles(const QMenu& menu) {
    QStringList t;
    for (const QAction* a : menu.actions())
        t << (a->isSeparator() ? QStringLiteral("-") : menuItemTitle(a->text()));
    return t;
}

QString shortcutOf(const QMenu& menu, const QString& title) {
    for (const QAction* a : menu.actions())
        if (menuItemTitle(a->text()) == title) return menuItemShortcut(a->text());
    return QStringLiteral("<missing>");
}

class StatusMenuTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("Pictro.conf"))};
    FakePlatform& platform = FakePlatform::installNew();
    AppDelegate delegate{settings, platform, {}};
};

TEST_F(StatusMenuTest, ItemsComeInOrderWithTheDefaultBindings) {
    std::unique_ptr<QMenu> menu(statusmenu::build(delegate, settings));
    EXPECT_EQ(titles(*menu), (QStringList{"Reopen Pictro", "-", "Capture Screen", "Capture Area",
                                          "Scrolling Capture", "Recognize Text/QR", "More", "-",
                                          "About Pictro", "-", "Launch at Startup", "Settings", "Quit"}));
    EXPECT_EQ(shortcutOf(*menu, "Capture Screen"), QStringLiteral("Ctrl+Shift+1"));
    EXPECT_EQ(shortcutOf(*menu, "Capture Area"), QStringLiteral("Ctrl+Shift+2"));
    EXPECT_EQ(shortcutOf(*menu, "Recognize Text/QR"), QStringLiteral("Ctrl+Alt+Super+O"));
    EXPECT_EQ(shortcutOf(*menu, "Scrolling Capture"), QString());
    EXPECT_EQ(shortcutOf(*menu, "Settings"), QStringLiteral("Ctrl+,"));
    QMenu* more = menu->actions()[6]->menu();
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(titles(*more), (QStringList{"Repeat Area Capture", "Capture Active Window",
                                          "Capture Any Window", "Delayed Screenshot (3s)", "Scrolling (Up)",
                                          "-", "Open File", "Load From Clipboard"}));
    EXPECT_EQ(shortcutOf(*more, "Repeat Area Capture"), QString());
    for (const QAction* a : menu->actions())
        if (!a->isSeparator() && a->text() != "About Pictro" && a->text() != "Launch at Startup" &&
            a->text() != "Quit") {
            EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
        }
}

TEST_F(StatusMenuTest, OnlyOneCharacterKeyNamesGetALabel) {
    settings.set(hotkeyaction::settingsKey(HotkeyAction::scrolling),
                 QStringLiteral("49:6144")); // Alt+Super+Space
    settings.set(hotkeyaction::settingsKey(HotkeyAction::repeatArea), QStringLiteral("123:256")); // Ctrl+Left
    settings.set(hotkeyaction::settingsKey(HotkeyAction::fullscreen), QString());
    std::unique_ptr<QMenu> menu(statusmenu::build(delegate, settings));
    EXPECT_EQ(shortcutOf(*menu, "Scrolling Capture"), QString());
    EXPECT_EQ(shortcutOf(*menu, "Capture Screen"), QString());
    EXPECT_EQ(shortcutOf(*menu->actions()[6]->menu(), "Repeat Area Capture"), QStringLiteral("Ctrl+Left"));
    EXPECT_TRUE(menuShortcut(KeyCombo{96, 256}).isEmpty()) << "F5 is longer than one character";
}

// By the title it starts with: an item that cannot run here adds its reason.
QAction* itemNamed(const QMenu& menu, const QString& title) {
    for (QAction* a : menu.actions()) {
        if (menuItemTitle(a->text()).section(QStringLiteral(" — "), 0, 0) == title) return a;
        if (a->menu())
            if (QAction* inner = itemNamed(*a->menu(), title)) return inner;
    }
    return nullptr;
}

struct MissingCase {
    Capability missing;
    QStringList disabled;
};

class StatusMenuWithout : public StatusMenuTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(StatusMenuWithout, DisablesExactlyTheItemsThatNeedItWithTheReason) {
    platform.caps.set(GetParam().missing, false);
    std::unique_ptr<QMenu> menu(statusmenu::build(delegate, settings, platform.capabilities()));
    const QStringList all{"Capture Screen",      "Capture Area",
                          "Scrolling Capture",   "Recognize Text/QR",
                          "Repeat Area Capture", "Capture Active Window",
                          "Capture Any Window",  "Delayed Screenshot (3s)",
                          "Scrolling (Up)",      "Open File",
                          "Load From Clipboard"};
    for (const QString& title : all) {
        const QAction* item = itemNamed(*menu, title);
        ASSERT_NE(item, nullptr) << title.toStdString() << " stays in the menu";
        if (GetParam().disabled.contains(title)) {
            EXPECT_FALSE(item->isEnabled()) << title.toStdString();
            EXPECT_EQ(item->text(),
                      title + QStringLiteral(" — ") + capability::unavailableReason(GetParam().missing));
            EXPECT_EQ(item->toolTip(), capability::unavailableReason(GetParam().missing))
                << title.toStdString();
        } else {
            EXPECT_TRUE(item->isEnabled()) << title.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Capabilities, StatusMenuWithout,
    ::testing::Values(MissingCase{Capability::windowList, {"Capture Active Window", "Capture Any Window"}},
                      MissingCase{Capability::activeWindow, {"Capture Active Window"}},
                      MissingCase{Capability::syntheticScroll, {"Scrolling Capture", "Scrolling (Up)"}},
                      MissingCase{Capability::globalHotkeysByKey, {}}));

// A desktop that offers nothing beyond the basics, as a Wayland session: each item that cannot run
// names what it misses, since nothing else in the menu would tell.
TEST_F(StatusMenuTest, WithNothingBeyondTheBasicsEachItemThatCannotRunSaysWhy) {
    platform.caps = Capabilities();
    std::unique_ptr<QMenu> menu(statusmenu::build(delegate, settings, platform.capabilities()));
    const QList<QPair<QString, Capability>> gated{{"Capture Active Window", Capability::activeWindow},
                                                  {"Capture Any Window", Capability::windowList},
                                                  {"Scrolling Capture", Capability::syntheticScroll},
                                                  {"Scrolling (Up)", Capability::syntheticScroll}};
    for (const auto& [title, missing] : gated) {
        const QAction* item = itemNamed(*menu, title);
        ASSERT_NE(item, nullptr) << title.toStdString();
        EXPECT_FALSE(item->isEnabled()) << title.toStdString();
        EXPECT_EQ(item->text(), title + QStringLiteral(" — ") + capability::unavailableReason(missing));
    }
    for (const char* title : {"Capture Screen", "Capture Area", "Recognize Text/QR", "Repeat Area Capture",
                              "Delayed Screenshot (3s)", "Open File", "Load From Clipboard"})
        EXPECT_TRUE(itemNamed(*menu, QString::fromLatin1(title))->isEnabled()) << title;
    EXPECT_EQ(shortcutOf(*menu, "Capture Area"), QString()) << "a key the desktop may not run";
}

// One notation wherever a person reads a combination: the menu, the recorder, the start-up toast
// and the editor's tooltips.
TEST_F(StatusMenuTest, MenuRecorderToastAndTooltipShowTheSameText) {
    RecorderButton recorder(settings, {}, {});
    recorder.setHotkeyAction(HotkeyAction::fullscreen);
    std::unique_ptr<QMenu> menu(statusmenu::build(delegate, settings));
    EXPECT_EQ(shortcutOf(*menu, "Capture Screen"), QStringLiteral("Ctrl+Shift+1"));
    EXPECT_EQ(recorder.text(), QStringLiteral("Ctrl+Shift+1   ⓧ"));
    EXPECT_EQ(launchtoast::text(),
              QStringLiteral("Pictro is running — Ctrl+Shift+1 screen · Ctrl+Shift+2 area"));
    EXPECT_FALSE(launchtoast::text(false).contains(QStringLiteral("Ctrl+"))) << "keys that nothing binds";

    settings.set(hotkeyaction::settingsKey(HotkeyAction::fullscreen), QStringLiteral("8:256")); // the C key
    menu.reset(statusmenu::build(delegate, settings));
    const EditorToolbar toolbar(Qt::red);
    EXPECT_EQ(shortcutOf(*menu, "Capture Screen"), QStringLiteral("Ctrl+C"));
    EXPECT_EQ(recorder.text(), QStringLiteral("Ctrl+C   ⓧ"));
    EXPECT_EQ(toolbar.actionButton(EditorToolbar::Action::copy)->toolTip(), QStringLiteral("Copy (Ctrl+C)"));

    settings.set(hotkeyaction::settingsKey(HotkeyAction::fullscreen), QStringLiteral("31:6400"));
    menu.reset(statusmenu::build(delegate, settings));
    EXPECT_EQ(shortcutOf(*menu, "Capture Screen"), QStringLiteral("Ctrl+Alt+Super+O"));
    EXPECT_EQ(recorder.text(), QStringLiteral("Ctrl+Alt+Super+O   ⓧ"));
}

TEST_F(StatusMenuTest, LaunchAtStartupFollowsTheAutostartEntry) {
    testsupport::ScopedEnv config("XDG_CONFIG_HOME",
                                  QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    std::unique_ptr<QMenu> menu(statusmenu::build(delegate, settings));
    QAction* launch = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == "Launch at Startup") launch = a;
    ASSERT_NE(launch, nullptr);
    ASSERT_TRUE(launchatlogin::set(true, QStringLiteral("/opt/my \"pictro\"/pictro")));
    EXPECT_TRUE(launchatlogin::isEnabled());
    EXPECT_TRUE(testsupport::readFile(launchatlogin::entryPath())
                    .contains(QStringLiteral("Exec=\"/opt/my \\\"pictro\\\"/pictro\"")));
    statusmenu::refreshLaunchItem(*menu, launchatlogin::isEnabled());
    EXPECT_TRUE(launch->isChecked());
    ASSERT_TRUE(launchatlogin::set(false, QString()));
    EXPECT_FALSE(launchatlogin::isEnabled());
    statusmenu::refreshLaunchItem(*menu, launchatlogin::isEnabled());
    EXPECT_FALSE(launch->isChecked());
}

TEST_F(StatusMenuTest, AutostartFailureIsReported) {
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    testsupport::ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName()));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(launchatlogin::set(true, QStringLiteral("/usr/bin/pictro")));
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Pictro: launch-at-login failed: ", 0), 0u);
}

} // namespace
