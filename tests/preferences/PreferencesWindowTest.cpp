#include "PreferencesTestSupport.h"

#include "platform/DesktopShortcuts.h"
#include "platform/fake/FakePlatform.h"
#include "preferences/BGStyleCard.h"
#include "preferences/BackgroundStylePicker.h"
#include "preferences/ColorWell.h"
#include "preferences/GeneralTab.h"
#include "preferences/HotkeysTab.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/PreferencesWindowController.h"
#include "preferences/RecorderButton.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PreferencesWindowTest : public ::testing::Test {
  protected:
    prefstest::World world;
    GeneralTab& general(PreferencesWindow& w) { return *w.generalTab(); }
};

TEST_F(PreferencesWindowTest, FiveTabsInOrderInAFixedWindowSixHundredWide) {
    auto window = world.openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Preferences"));
    QTabWidget* tabs = window->tabs();
    QStringList labels;
    for (int i = 0; i < tabs->count(); ++i) {
        labels << tabs->tabText(i);
        EXPECT_FALSE(tabs->tabIcon(i).isNull()) << tabs->tabText(i).toStdString();
    }
    EXPECT_EQ(labels, (QStringList{"General", "Hotkeys", "Uploading", "Advanced", "About"}));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        EXPECT_EQ(window->width(), 600);
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
        EXPECT_GE(window->height(), tabs->currentWidget()->sizeHint().height());
    }
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(PreferencesWindowTest, ShowingAgainRaisesTheOneWindowAndClosingOnlyHidesIt) {
    PreferencesWindowController::setServices(world.services());
    PreferencesWindowController::show();
    PreferencesWindow* first = PreferencesWindowController::window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->close();
    EXPECT_FALSE(first->isVisible());
    PreferencesWindowController::show();
    EXPECT_EQ(PreferencesWindowController::window(), first);
    EXPECT_TRUE(first->isVisible());
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += qobject_cast<PreferencesWindow*>(w) != nullptr;
    EXPECT_EQ(windows, 1);
    PreferencesWindowController::destroy();
}

TEST_F(PreferencesWindowTest, LaunchAtStartupShowsTheRealStateAfterEachChange) {
    world.loginEnabled = true;
    auto window = world.openWindow();
    QCheckBox* box = general(*window).launchAtStartupBox();
    EXPECT_TRUE(box->isChecked()) << "read from the login item when the window is built";

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(world.loginCalls, std::vector<bool>{false});
    EXPECT_FALSE(box->isChecked());

    world.loginRefuses = true;
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(world.loginCalls, (std::vector<bool>{false, true}));
    EXPECT_FALSE(box->isChecked()) << "a refused registration falls back to off";
}

TEST_F(PreferencesWindowTest, PickingAFolderStoresItsPathAndCancellingChangesNothing) {
    world.settings.set(keys::screenshotsFolder, QStringLiteral("/srv/shots"));
    auto window = world.openWindow();
    QPushButton* button = general(*window).folderButton();
    EXPECT_EQ(general(*window).folderLabel(), QStringLiteral("/srv/shots"));

    world.folderAnswer = std::nullopt;
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(world.folderStarts, std::vector<QString>{QStringLiteral("/srv/shots")});
    EXPECT_EQ(world.settings.stringValue(keys::screenshotsFolder), QStringLiteral("/srv/shots"));

    world.folderAnswer = QStringLiteral("/home/someone/Pictures");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(world.settings.stringValue(keys::screenshotsFolder), QStringLiteral("/home/someone/Pictures"));
    EXPECT_EQ(general(*window).folderLabel(), QStringLiteral("/home/someone/Pictures"));
    EXPECT_EQ(button->text(), QStringLiteral("/home/someone/Pictures"));
}

TEST_F(PreferencesWindowTest, ALongFolderPathIsShortenedInTheMiddle) {
    const QString path =
        QStringLiteral("/home/someone/") + QString(60, QLatin1Char('x')) + QStringLiteral("/shots");
    world.settings.set(keys::screenshotsFolder, path);
    auto window = world.openWindow();
    QPushButton* button = general(*window).folderButton();
    EXPECT_LE(button->width(), GeneralTab::folderButtonMaxWidth);
    EXPECT_TRUE(button->text().startsWith(QStringLiteral("/home/")));
    EXPECT_TRUE(button->text().endsWith(QStringLiteral("/shots")));
    EXPECT_TRUE(button->text().contains(QChar(0x2026)));
    EXPECT_EQ(button->toolTip(), path);
}

TEST_F(PreferencesWindowTest, TheColourWellShowsOnlyForTheSolidStyleAndNothingElseMoves) {
    auto window = world.openWindow();
    BackgroundStylePicker* picker = general(*window).backgroundPicker();
    const int folderY = general(*window).folderButton()->mapTo(window.get(), QPoint(0, 0)).y();
    EXPECT_FALSE(picker->colorRow()->isVisible());

    world.settings.set(keys::windowBGStyle, QStringLiteral("solid"));
    EXPECT_TRUE(picker->colorRow()->isVisible());
    EXPECT_TRUE(picker->colorWell()->isEnabled());
    QApplication::processEvents();
    EXPECT_EQ(general(*window).folderButton()->mapTo(window.get(), QPoint(0, 0)).y(), folderY);

    world.settings.set(keys::windowBGStyle, QStringLiteral("wallpaper"));
    EXPECT_FALSE(picker->colorRow()->isVisible());
    EXPECT_FALSE(picker->colorWell()->isEnabled());
}

TEST_F(PreferencesWindowTest, APickedColourIsStoredAsHexAndRecoloursTheSolidCard) {
    world.settings.set(keys::windowBGStyle, QStringLiteral("solid"));
    auto window = world.openWindow();
    BackgroundStylePicker* picker = general(*window).backgroundPicker();
    world.colorAnswer = QColor(255, 128, 0);
    QTest::mouseClick(picker->colorWell(), Qt::LeftButton);
    EXPECT_EQ(world.settings.stringValue(keys::windowBGColor), QStringLiteral("#FF8000"));
    EXPECT_EQ(picker->cards()[2]->solidColor(), QColor(255, 128, 0));

    world.colorAnswer = std::nullopt; // the dialog cancelled
    QTest::mouseClick(picker->colorWell(), Qt::LeftButton);
    EXPECT_EQ(world.settings.stringValue(keys::windowBGColor), QStringLiteral("#FF8000"));
}

// Where the desktop assigns global shortcuts itself, recording a key would grab nothing: every
// recorder is off and says why.
TEST_F(PreferencesWindowTest, WithoutGlobalHotkeysByKeyTheRecordersAreOffWithTheReason) {
    PreferencesServices services = world.services();
    services.capabilities.set(Capability::globalHotkeysByKey, false);
    PreferencesWindow window(world.settings, services);
    const auto& recorders = window.hotkeysTab()->recorders();
    ASSERT_EQ(recorders.size(), hotkeyaction::allCases().size());
    for (const RecorderButton* recorder : recorders) {
        EXPECT_FALSE(recorder->isEnabled());
        EXPECT_EQ(recorder->toolTip(), capability::unavailableReason(Capability::globalHotkeysByKey));
    }
    PreferencesWindow usual(world.settings, world.services());
    for (const RecorderButton* recorder : usual.hotkeysTab()->recorders())
        EXPECT_TRUE(recorder->isEnabled());
}

TEST_F(PreferencesWindowTest, WhereProgramsCannotTakeKeysTheHotkeysTabSaysWhatToBindInstead) {
    FakePlatform& fake = prefstest::platform();
    for (const bool grabs : {true, false}) {
        fake.caps.set(Capability::globalHotkeysByKey, grabs);
        auto window = world.openWindow();
        auto* note = window->hotkeysTab()->findChild<QLabel*>(QStringLiteral("desktopBindingNote"));
        if (grabs) {
            EXPECT_EQ(note, nullptr);
        } else {
            ASSERT_NE(note, nullptr);
            EXPECT_TRUE(
                note->text().contains(QStringLiteral("bindsym Ctrl+Shift+2 exec pictro --action area")));
        }
    }
    fake.caps = Capabilities::all();
}

// What a desktop with a shortcut portal reports, as the hotkey service hands it on.
class ReportedShortcuts : public DesktopShortcuts {
  public:
    QMap<QString, QString> bound;
    int dialogsOpened = 0;
    bool dialog = true;
    QString trigger(const QString& action) const override { return bound.value(action); }
    bool hasDialog() const override { return dialog; }
    void changeInDesktop() override { ++dialogsOpened; }
};

// Where the desktop binds shortcuts itself, the tab shows its binding of each action (following
// its reports), and its button opens the desktop's dialog; the recorders only suggest a key.
TEST_F(PreferencesWindowTest, WhereTheDesktopBindsShortcutsTheTabShowsItsBindingsAndOpensItsDialog) {
    ReportedShortcuts desktop;
    desktop.bound.insert(QStringLiteral("area"), QStringLiteral("Ctrl+Shift+2"));
    PreferencesServices services = world.services();
    services.capabilities.set(Capability::globalHotkeysByKey, false);
    services.desktopShortcuts = &desktop;
    PreferencesWindow window(world.settings, services);
    HotkeysTab* tab = window.hotkeysTab();
    EXPECT_EQ(tab->findChild<QLabel*>(QStringLiteral("desktopBindingNote")), nullptr);
    ASSERT_EQ(tab->desktopTriggers().size(), hotkeyaction::allCases().size());
    const auto shown = [&](HotkeyAction action) {
        return tab->findChild<QLabel*>(QStringLiteral("desktopTrigger_") + hotkeyaction::rawValue(action))
            ->text();
    };
    EXPECT_EQ(shown(HotkeyAction::area), QStringLiteral("Desktop: Ctrl+Shift+2"));
    EXPECT_EQ(shown(HotkeyAction::fullscreen), QStringLiteral("Desktop: none"));
    for (const RecorderButton* recorder : tab->recorders())
        EXPECT_TRUE(recorder->isEnabled());

    desktop.bound.insert(QStringLiteral("fullscreen"), QStringLiteral("Print"));
    emit desktop.changed();
    EXPECT_EQ(shown(HotkeyAction::fullscreen), QStringLiteral("Desktop: Print"));

    auto* change = tab->findChild<QPushButton*>(QStringLiteral("changeDesktopShortcuts"));
    ASSERT_NE(change, nullptr);
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(desktop.dialogsOpened, 1);

    // A desktop without a dialog to open gets no button that would do nothing.
    desktop.dialog = false;
    PreferencesWindow plain(world.settings, services);
    EXPECT_EQ(plain.hotkeysTab()->findChild<QPushButton*>(QStringLiteral("changeDesktopShortcuts")), nullptr);
}

} // namespace
