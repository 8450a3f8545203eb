#include "settings/KeyCombo.h"
#include "platform/KeyCodeTable.h"
#include "settings/Settings.h"

#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    std::optional<KeyCombo> expected;
};

class ComboParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ComboParsing, FollowsTheStoredTextRules) {
    EXPECT_EQ(KeyCombo::fromEncoded(QString::fromLatin1(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ComboParsing,
    ::testing::Values(ParseCase{"18:768", KeyCombo{18, 768}}, ParseCase{"18::768", KeyCombo{18, 768}},
                      ParseCase{":18:768", KeyCombo{18, 768}}, ParseCase{"18:768:", KeyCombo{18, 768}},
                      ParseCase{"+18:768", KeyCombo{18, 768}},
                      ParseCase{"4294967295:0", KeyCombo{4294967295u, 0}},
                      ParseCase{"18:768:0", std::nullopt}, ParseCase{"18", std::nullopt},
                      ParseCase{"", std::nullopt}, ParseCase{" 18:768", std::nullopt},
                      ParseCase{"18:-768", std::nullopt}, ParseCase{"4294967296:0", std::nullopt},
                      ParseCase{"0x12:768", std::nullopt}, ParseCase{"18:76 8", std::nullopt},
                      ParseCase{"-:768", std::nullopt}));

TEST(KeyComboText, EncodesAndDisplaysInTheFixedGlyphOrder) {
    const KeyCombo c{18, KeyCombo::command | KeyCombo::shift};
    EXPECT_EQ(c.encoded(), QStringLiteral("18:768"));
    EXPECT_EQ(c.display(), QStringLiteral("⇧⌘1"));
    const KeyCombo all{31, KeyCombo::command | KeyCombo::shift | KeyCombo::option | KeyCombo::control};
    EXPECT_EQ(all.display(), QStringLiteral("⌃⌥⇧⌘O"));
    EXPECT_EQ((KeyCombo{105, 0}.display()), QStringLiteral("key105"));
    EXPECT_EQ((KeyCombo{49, KeyCombo::control | KeyCombo::option}.display()), QStringLiteral("⌃⌥Space"));
}

struct LabelCase {
    KeyCombo combo;
    const char* label;
};

class ComboLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(ComboLabel, ReadsTheLinuxWay) {
    EXPECT_EQ(GetParam().combo.label(), QString::fromUtf8(GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(
    Combos, ComboLabel,
    ::testing::Values(
        LabelCase{KeyCombo{18, KeyCombo::command | KeyCombo::shift}, "Ctrl+Shift+1"},
        LabelCase{KeyCombo{31, KeyCombo::command | KeyCombo::option | KeyCombo::control}, "Ctrl+Alt+Super+O"},
        LabelCase{KeyCombo{31, KeyCombo::command | KeyCombo::shift | KeyCombo::option | KeyCombo::control},
                  "Ctrl+Alt+Shift+Super+O"},
        LabelCase{KeyCombo{105, 0}, "Print"}, LabelCase{KeyCombo{105, KeyCombo::shift}, "Shift+Print"},
        LabelCase{KeyCombo{49, KeyCombo::control | KeyCombo::option}, "Alt+Super+Space"},
        LabelCase{KeyCombo{96, KeyCombo::command}, "Ctrl+F5"}, LabelCase{KeyCombo{53, 0}, "Esc"},
        LabelCase{KeyCombo{36, KeyCombo::shift}, "Shift+Return"},
        LabelCase{KeyCombo{123, KeyCombo::command}, "Ctrl+Left"},
        LabelCase{KeyCombo{43, KeyCombo::command}, "Ctrl+,"}, LabelCase{KeyCombo{89, 0}, "KP 7"},
        LabelCase{KeyCombo{200, 0}, "Key 200"}));

TEST(KeyLabels, NameEveryKeyOfTheTableWithoutGlyphs) {
    for (quint32 code = 0; code < 256; ++code) {
        if (!keycodes::toXKeycode(code)) continue;
        const QString label = KeyCombo::keyLabel(code);
        EXPECT_FALSE(label.startsWith(QStringLiteral("Key "))) << "key " << code;
        for (QChar c : label)
            EXPECT_LT(c.unicode(), 0x80) << "key " << code << " " << label.toStdString();
    }
}

TEST(KeyNames, CoverTheWholeTable) {
    int named = 0;
    for (quint32 code = 0; code < 256; ++code)
        if (!KeyCombo::keyName(code).startsWith(QStringLiteral("key"))) ++named;
    EXPECT_EQ(named, 68);
    EXPECT_EQ(KeyCombo::keyName(0), QStringLiteral("A"));
    EXPECT_EQ(KeyCombo::keyName(6), QStringLiteral("Z"));
    EXPECT_EQ(KeyCombo::keyName(29), QStringLiteral("0"));
    EXPECT_EQ(KeyCombo::keyName(36), QStringLiteral("↩"));
    EXPECT_EQ(KeyCombo::keyName(111), QStringLiteral("F12"));
    EXPECT_EQ(KeyCombo::keyName(42), QStringLiteral("\\"));
    EXPECT_EQ(KeyCombo::keyName(50), QStringLiteral("`"));
}

TEST(KeyCodeTable, MapsPhysicalKeysBothWays) {
    EXPECT_EQ(keycodes::toXKeycode(18), 10u);   // the "1" key
    EXPECT_EQ(keycodes::toXKeycode(105), 107u); // Print Screen
    EXPECT_EQ(keycodes::toXKeycode(53), 9u);    // Escape
    for (quint32 code = 0; code < 128; ++code) {
        if (auto x = keycodes::toXKeycode(code)) {
            EXPECT_EQ(keycodes::fromXKeycode(*x), code) << "key " << code;
        }
    }
    // Every named key has a physical position.
    for (quint32 code = 0; code < 128; ++code)
        if (!KeyCombo::keyName(code).startsWith(QStringLiteral("key"))) {
            EXPECT_TRUE(keycodes::toXKeycode(code).has_value()) << "key " << code;
        }
}

TEST(KeyComboFromEvent, UsesThePhysicalKeyAndDropsLockModifiers) {
    // X keycode 11 is the "2" key; Ctrl+Shift are command+shift; Caps Lock and keypad flags vanish.
    QKeyEvent withScanCode(QEvent::KeyPress, Qt::Key_At,
                           Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier, 11, 0,
                           0x2 /* Lock */);
    EXPECT_EQ(KeyCombo::fromKeyEvent(withScanCode), (KeyCombo{19, 768}));
    // Without a scan code (offscreen platform) the unshifted Qt key decides.
    QKeyEvent noScanCode(QEvent::KeyPress, Qt::Key_O,
                         Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    EXPECT_EQ(KeyCombo::fromKeyEvent(noScanCode), (KeyCombo{31, 0x1900}));
    QKeyEvent unknown(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::NoModifier);
    EXPECT_EQ(KeyCombo::fromKeyEvent(unknown), std::nullopt);
}

TEST(Bindings, ThreeStoredStates) {
    QTemporaryDir dir;
    Settings s(dir.filePath(QStringLiteral("Pictro.conf")));
    EXPECT_EQ(s.combo(HotkeyAction::fullscreen), (KeyCombo{18, 768}));
    EXPECT_EQ(s.combo(HotkeyAction::area), (KeyCombo{19, 768}));
    EXPECT_EQ(s.combo(HotkeyAction::ocr), (KeyCombo{31, 6400}));
    EXPECT_EQ(s.combo(HotkeyAction::repeatArea), std::nullopt);
    s.set(hotkeyaction::settingsKey(HotkeyAction::fullscreen), QString());
    EXPECT_EQ(s.combo(HotkeyAction::fullscreen), std::nullopt);
    s.set(hotkeyaction::settingsKey(HotkeyAction::repeatArea), QStringLiteral("20:4096"));
    EXPECT_EQ(s.combo(HotkeyAction::repeatArea), (KeyCombo{20, 4096}));
    s.set(hotkeyaction::settingsKey(HotkeyAction::area), QStringLiteral("garbage"));
    EXPECT_EQ(s.combo(HotkeyAction::area), std::nullopt);
}

TEST(HotkeyActions, KeysLabelsAndOrder) {
    const auto& all = hotkeyaction::allCases();
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(hotkeyaction::settingsKey(all.front()), QStringLiteral("hotkey_fullscreen"));
    EXPECT_EQ(hotkeyaction::settingsKey(HotkeyAction::repeatArea), QStringLiteral("hotkey_repeatArea"));
    EXPECT_EQ(hotkeyaction::label(HotkeyAction::ocr), QStringLiteral("Instant Text/QR Recognition"));
    EXPECT_EQ(hotkeyaction::label(HotkeyAction::showApp), QStringLiteral("Show Pictro"));
    for (HotkeyAction a : all)
        EXPECT_EQ(hotkeyaction::fromRaw(hotkeyaction::rawValue(a)), a);
    EXPECT_EQ(hotkeyaction::fromRaw(QStringLiteral("Fullscreen")), std::nullopt);
}

} // namespace
