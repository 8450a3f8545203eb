#include "PreferencesTestSupport.h"

#include "platform/fake/FakePlatform.h"
#include "preferences/RecorderButton.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A key press as X delivers it: the keycode of the physical key in the native scan code.
struct Press {
    int qtKey;
    quint32 xKeycode;
    Qt::KeyboardModifiers modifiers;
};

void press(QWidget* target, const Press& p) {
    QKeyEvent down(QEvent::KeyPress, p.qtKey, p.modifiers, p.xKeycode, 0, 0);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, p.qtKey, p.modifiers, p.xKeycode, 0, 0);
    QApplication::sendEvent(target, &up);
}

constexpr Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (RecorderButton*& r : recorders) {
            r = new RecorderButton(
                world.settings, [this] { world.hotkeys.reloadAll(); },
                [this] { world.hotkeys.unregisterAll(); }, &host);
            host.layout()->addWidget(r);
        }
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }

    bool registered(quint32 keyCode, quint32 modifiers, HotkeyAction action) const {
        for (const auto& e : prefstest::platform().fakeHotkeys.live)
            if (e.keyCode == keyCode && e.modifiers == modifiers) {
                const auto& live = world.hotkeys.registrations();
                const auto it = live.find(e.id.id);
                if (it != live.end() && it->second == action) return true;
            }
        return false;
    }

    prefstest::World world;
    QWidget host;
    QHBoxLayout layout{&host};
    RecorderButton* recorders[2] = {};
};

TEST_F(RecorderTest, ClickingAShownShortcutUnbindsItForGoodAndReleasesTheHotkey) {
    RecorderButton* r = recorders[0];
    r->setHotkeyAction(HotkeyAction::fullscreen);
    EXPECT_EQ(r->text(), QStringLiteral("Ctrl+Shift+1   ⓧ"));
    ASSERT_TRUE(registered(18, 768, HotkeyAction::fullscreen));

    QTest::mouseClick(r, Qt::LeftButton);
    EXPECT_TRUE(world.settings.isStored(hotkeyaction::settingsKey(HotkeyAction::fullscreen)));
    EXPECT_EQ(world.settings.stringValue(hotkeyaction::settingsKey(HotkeyAction::fullscreen)), QString());
    EXPECT_EQ(r->text(), QStringLiteral("Record Shortcut"));
    EXPECT_FALSE(r->isRecording()) << "clearing does not start a recording";
    EXPECT_FALSE(registered(18, 768, HotkeyAction::fullscreen)) << "the built-in default does not come back";
}

TEST_F(RecorderTest, RecordingStoresTheComboAndRegistersItAtOnce) {
    RecorderButton* r = recorders[0];
    r->setHotkeyAction(HotkeyAction::repeatArea);
    EXPECT_EQ(r->text(), QStringLiteral("Record Shortcut"));
    QTest::mouseClick(r, Qt::LeftButton);
    EXPECT_TRUE(r->isRecording());
    EXPECT_EQ(r->text(), QStringLiteral("Type shortcut…"));
    EXPECT_TRUE(r->hasFocus());

    press(r, {Qt::Key_Exclam, 10, ctrlShift}); // Ctrl+Shift+1: Qt names the shifted symbol
    EXPECT_FALSE(r->isRecording());
    EXPECT_EQ(world.settings.stringValue(hotkeyaction::settingsKey(HotkeyAction::repeatArea)),
              QStringLiteral("18:768"));
    EXPECT_EQ(r->text(), QStringLiteral("Ctrl+Shift+1   ⓧ"));
    EXPECT_TRUE(registered(18, 768, HotkeyAction::repeatArea));
}

struct RecordCase {
    const char* name;
    Press press;
    const char* stored;
};

class RecordedKeyTest : public RecorderTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordedKeyTest, StoresThePhysicalKeyAndTheModifierMask) {
    RecorderButton* r = recorders[0];
    r->setHotkeyAction(HotkeyAction::scrolling);
    QTest::mouseClick(r, Qt::LeftButton);
    press(r, GetParam().press);
    EXPECT_EQ(world.settings.stringValue(hotkeyaction::settingsKey(HotkeyAction::scrolling)),
              QString::fromLatin1(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RecordedKeyTest,
    ::testing::Values(RecordCase{"CtrlShift5", {Qt::Key_Percent, 14, ctrlShift}, "23:768"},
                      RecordCase{"CtrlAltSuperO",
                                 {Qt::Key_O, 32, Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier},
                                 "31:6400"},
                      RecordCase{"PlainF5", {Qt::Key_F5, 71, Qt::NoModifier}, "96:0"},
                      RecordCase{"KeypadNumberDropsTheKeypadFlag",
                                 {Qt::Key_1, 87, Qt::KeypadModifier | Qt::ControlModifier},
                                 "83:256"},
                      // Tab would otherwise move the focus on; while recording it is a key like any other.
                      RecordCase{"TabIsRecorded", {Qt::Key_Tab, 23, Qt::ControlModifier}, "48:256"},
                      RecordCase{"PrintScreen", {Qt::Key_Print, 107, Qt::NoModifier}, "105:0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecorderTest, ModifierKeysAloneRecordNothingAndTheRecordingGoesOn) {
    RecorderButton* r = recorders[0];
    r->setHotkeyAction(HotkeyAction::anyWindow);
    QTest::mouseClick(r, Qt::LeftButton);
    press(r, {Qt::Key_Control, 37, Qt::ControlModifier});
    press(r, {Qt::Key_Shift, 50, ctrlShift});
    press(r, {Qt::Key_Super_L, 133, Qt::MetaModifier});
    EXPECT_TRUE(r->isRecording());
    EXPECT_FALSE(world.settings.isStored(hotkeyaction::settingsKey(HotkeyAction::anyWindow)));
    press(r, {Qt::Key_A, 38, Qt::ControlModifier});
    EXPECT_EQ(world.settings.stringValue(hotkeyaction::settingsKey(HotkeyAction::anyWindow)),
              QStringLiteral("0:256"));
}

TEST_F(RecorderTest, EscapeCancelsWithoutWritingAnything) {
    RecorderButton* r = recorders[0];
    r->setHotkeyAction(HotkeyAction::showApp);
    ASSERT_TRUE(registered(18, 768, HotkeyAction::fullscreen));
    QTest::mouseClick(r, Qt::LeftButton);
    // While recording, no combination is grabbed system-wide, so even one bound to another
    // action reaches the button.
    EXPECT_TRUE(prefstest::platform().fakeHotkeys.live.empty());
    press(r, {Qt::Key_Escape, 9, Qt::ControlModifier});
    EXPECT_FALSE(r->isRecording());
    EXPECT_EQ(r->text(), QStringLiteral("Record Shortcut"));
    EXPECT_FALSE(world.settings.isStored(hotkeyaction::settingsKey(HotkeyAction::showApp)));
    EXPECT_TRUE(registered(18, 768, HotkeyAction::fullscreen))
        << "the hotkeys come back when the recording ends";
}

TEST_F(RecorderTest, ATakenComboMovesFromTheActionThatHeldIt) {
    recorders[0]->setHotkeyAction(HotkeyAction::repeatArea);
    recorders[1]->setHotkeyAction(HotkeyAction::fullscreen);
    std::vector<std::pair<HotkeyAction, KeyCombo>> moved;
    QObject::connect(recorders[0], &RecorderButton::bindingMoved,
                     [&](HotkeyAction from, const KeyCombo& combo) { moved.emplace_back(from, combo); });
    QTest::mouseClick(recorders[0], Qt::LeftButton);
    press(recorders[0], {Qt::Key_Exclam, 10, ctrlShift}); // Ctrl+Shift+1, the full-screen default

    EXPECT_EQ(world.settings.stringValue(hotkeyaction::settingsKey(HotkeyAction::repeatArea)),
              QStringLiteral("18:768"));
    EXPECT_TRUE(world.settings.isStored(hotkeyaction::settingsKey(HotkeyAction::fullscreen)));
    EXPECT_EQ(world.settings.stringValue(hotkeyaction::settingsKey(HotkeyAction::fullscreen)), QString())
        << "the default does not come back for the action that lost it";
    EXPECT_EQ(recorders[1]->text(), QStringLiteral("Record Shortcut")) << "shown at once";
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].first, HotkeyAction::fullscreen);
    EXPECT_EQ(moved[0].second, (KeyCombo{18, 768}));
    int grabsOfTheKey = 0;
    for (const auto& e : prefstest::platform().fakeHotkeys.live)
        if (e.keyCode == 18 && e.modifiers == 768) ++grabsOfTheKey;
    EXPECT_EQ(grabsOfTheKey, 1);
    EXPECT_TRUE(registered(18, 768, HotkeyAction::repeatArea));
    EXPECT_FALSE(registered(18, 768, HotkeyAction::fullscreen));
}

TEST_F(RecorderTest, RecordingAnUnheldComboTakesNothingFromOthers) {
    recorders[0]->setHotkeyAction(HotkeyAction::scrolling);
    int moves = 0;
    QObject::connect(recorders[0], &RecorderButton::bindingMoved, [&] { ++moves; });
    QTest::mouseClick(recorders[0], Qt::LeftButton);
    press(recorders[0], {Qt::Key_F5, 71, Qt::ControlModifier});
    EXPECT_EQ(moves, 0);
    for (HotkeyAction a : {HotkeyAction::fullscreen, HotkeyAction::area, HotkeyAction::ocr})
        EXPECT_FALSE(world.settings.isStored(hotkeyaction::settingsKey(a)));
}

TEST_F(RecorderTest, ClickingAnotherRecorderEndsTheFirstRecordingUnchanged) {
    recorders[0]->setHotkeyAction(HotkeyAction::activeWindow);
    recorders[1]->setHotkeyAction(HotkeyAction::area);
    QTest::mouseClick(recorders[0], Qt::LeftButton);
    ASSERT_TRUE(recorders[0]->isRecording());
    recorders[1]->setFocus(Qt::MouseFocusReason); // what pressing the other button does first
    EXPECT_FALSE(recorders[0]->isRecording());
    EXPECT_EQ(recorders[0]->text(), QStringLiteral("Record Shortcut"));
    EXPECT_FALSE(world.settings.isStored(hotkeyaction::settingsKey(HotkeyAction::activeWindow)));
}

TEST_F(RecorderTest, ARecorderWithoutAnActionNeverStores) {
    RecorderButton* r = recorders[0];
    QTest::mouseClick(r, Qt::LeftButton);
    EXPECT_TRUE(r->isRecording());
    press(r, {Qt::Key_B, 56, Qt::ControlModifier});
    EXPECT_FALSE(r->isRecording());
    EXPECT_EQ(r->text(), QStringLiteral("Record Shortcut"));
    for (HotkeyAction a : hotkeyaction::allCases())
        EXPECT_FALSE(world.settings.isStored(hotkeyaction::settingsKey(a)));
}

TEST_F(RecorderTest, TheTitleFollowsABindingWrittenElsewhere) {
    recorders[0]->setHotkeyAction(HotkeyAction::ocr);
    recorders[1]->setHotkeyAction(HotkeyAction::ocr);
    QTest::mouseClick(recorders[0], Qt::LeftButton); // clears Ctrl+Alt+Super+O
    EXPECT_EQ(recorders[1]->text(), QStringLiteral("Record Shortcut"));
    world.settings.set(hotkeyaction::settingsKey(HotkeyAction::ocr), QStringLiteral("nonsense"));
    EXPECT_EQ(recorders[1]->text(), QStringLiteral("Record Shortcut")) << "malformed text counts as unbound";
}

} // namespace
