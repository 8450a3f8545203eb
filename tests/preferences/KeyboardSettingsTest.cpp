#include "PreferencesTestSupport.h"

#include "preferences/HotkeysTab.h"
#include "preferences/KeyboardSettings.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/RecorderButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using keyboardsettings::DesktopKind;

struct DesktopCase {
    const char* name;
    const char* xdgCurrentDesktop;
    DesktopKind kind;
    const char* shownName;
    const char* program; // the desktop's own settings program, "" for none
};

class DesktopDescription : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(DesktopDescription, NamesTheDesktopAndItsKeyboardSettings) {
    const DesktopCase& c = GetParam();
    const auto desktop = keyboardsettings::describe(QString::fromLatin1(c.xdgCurrentDesktop));
    EXPECT_EQ(desktop.kind, c.kind);
    EXPECT_EQ(desktop.name, QString::fromLatin1(c.shownName));
    EXPECT_FALSE(desktop.screenshotKeys.isEmpty());
    EXPECT_EQ(desktop.settings ? desktop.settings->program : QString(), QString::fromLatin1(c.program));
    if (c.kind != DesktopKind::none && c.kind != DesktopKind::other) {
        EXPECT_TRUE(desktop.screenshotKeys.contains(QStringLiteral("Print"))) << "says which keys it holds";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DesktopDescription,
    ::testing::Values(
        DesktopCase{"Gnome", "GNOME", DesktopKind::gnome, "GNOME", "gnome-control-center"},
        DesktopCase{"UbuntuFirst", "ubuntu:GNOME", DesktopKind::gnome, "GNOME", "gnome-control-center"},
        DesktopCase{"Plasma", "KDE", DesktopKind::kde, "KDE Plasma", "systemsettings"},
        DesktopCase{"Xfce", "XFCE", DesktopKind::xfce, "Xfce", "xfce4-keyboard-settings"},
        DesktopCase{"Cinnamon", "X-Cinnamon", DesktopKind::cinnamon, "Cinnamon", "cinnamon-settings"},
        DesktopCase{"Mate", "MATE", DesktopKind::mate, "MATE", "mate-keybinding-properties"},
        DesktopCase{"Unknown", "sway", DesktopKind::other, "sway", ""},
        DesktopCase{"WindowManagerOnly", "", DesktopKind::none, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardSettingsProgram, TheDesktopsOwnOrNoneAndOnAnUnknownDesktopAnyInstalledOne) {
    const auto onlyXfce = [](const QString& program) {
        return program == QLatin1String("xfce4-keyboard-settings") ? QStringLiteral("/usr/bin/") + program
                                                                   : QString();
    };
    const auto plasma = keyboardsettings::describe(QStringLiteral("KDE"));
    EXPECT_FALSE(keyboardsettings::find(plasma, onlyXfce))
        << "another desktop's settings would change other keys";
    EXPECT_TRUE(keyboardsettings::unavailableReason(plasma).contains(QStringLiteral("systemsettings")));
    const auto xfce = keyboardsettings::find(keyboardsettings::describe(QStringLiteral("XFCE")), onlyXfce);
    ASSERT_TRUE(xfce);
    EXPECT_EQ(xfce->program, QStringLiteral("/usr/bin/xfce4-keyboard-settings"));
    const auto kde =
        keyboardsettings::find(plasma, [](const QString& p) { return QStringLiteral("/opt/") + p; });
    ASSERT_TRUE(kde);
    EXPECT_EQ(kde->arguments, QStringList{QStringLiteral("kcm_keys")});
    const auto bare = keyboardsettings::find(keyboardsettings::describe(QString()), onlyXfce);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->program, QStringLiteral("/usr/bin/xfce4-keyboard-settings"));
    EXPECT_FALSE(keyboardsettings::find(keyboardsettings::describe(QString()),
                                        [](const QString&) { return QString(); }));
}

class HotkeysTabDesktop : public ::testing::Test {
  protected:
    prefstest::World world;
};

TEST_F(HotkeysTabDesktop, NamesTheRunningDesktopAndOpensItsSettings) {
    world.desktop = keyboardsettings::describe(QStringLiteral("ubuntu:GNOME"));
    auto window = world.openWindow();
    const auto* name = window->findChild<QLabel*>(QStringLiteral("desktopName"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->text().contains(QStringLiteral("GNOME")));
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("desktopScreenshotKeys"))
                    ->text()
                    .contains(QStringLiteral("Shift+Print")));
    auto* open = window->findChild<QPushButton*>(QStringLiteral("openKeyboardSettings"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), QStringLiteral("Open Keyboard Settings"));
    EXPECT_TRUE(open->isEnabled());
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("keyboardSettingsUnavailable")), nullptr);
    prefstest::showTabOf(*window, open);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_EQ(world.keyboardSettingsOpened, 1);
}

TEST_F(HotkeysTabDesktop, WithoutASettingsProgramTheButtonIsDisabledAndSaysWhy) {
    world.desktop = keyboardsettings::describe(QStringLiteral("KDE"));
    world.keyboardSettingsInstalled = false;
    auto window = world.openWindow();
    auto* open = window->findChild<QPushButton*>(QStringLiteral("openKeyboardSettings"));
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(open->isEnabled());
    const auto* why = window->findChild<QLabel*>(QStringLiteral("keyboardSettingsUnavailable"));
    ASSERT_NE(why, nullptr);
    EXPECT_EQ(why->text(), keyboardsettings::unavailableReason(world.desktop));
    EXPECT_EQ(open->toolTip(), why->text());
    for (const QLabel* l : window->hotkeysTab()->findChildren<QLabel*>())
        for (const char* foreign : {"⌘", "⇧", "⌥", "⌃", "uncheck the system shortcuts"})
            EXPECT_FALSE(l->text().contains(QString::fromUtf8(foreign))) << l->text().toStdString();
}

TEST_F(HotkeysTabDesktop, ATakenCombinationSaysWhichActionLostIt) {
    auto window = world.openWindow();
    HotkeysTab* tab = window->hotkeysTab();
    ASSERT_NE(tab, nullptr);
    EXPECT_TRUE(tab->movedNote()->text().isEmpty());
    RecorderButton* area = tab->recorders()[1];
    prefstest::showTabOf(*window, area);
    QTest::mouseClick(area, Qt::LeftButton); // clears Ctrl+Shift+2
    QTest::mouseClick(area, Qt::LeftButton); // records
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 10, 0, 0);
    QApplication::sendEvent(area, &press);
    EXPECT_EQ(
        tab->movedNote()->text(),
        QStringLiteral("Ctrl+Shift+1 was the shortcut of “Fullscreen screenshot”, which now has none."));
    EXPECT_EQ(tab->recorders()[0]->text(), QStringLiteral("Record Shortcut"));
}

} // namespace
