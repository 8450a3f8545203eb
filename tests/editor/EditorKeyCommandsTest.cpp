#include "editor/EditorKeyCommands.h"

#include <gtest/gtest.h>

using namespace editorkeys;

namespace {

constexpr auto ctrl = Qt::ControlModifier;
constexpr auto shift = Qt::ShiftModifier;

struct KeyCase {
    const char* name;
    KeyPress press;
    KeyCommand expected;
};

KeyCommand tool(EditorTool t) {
    return {Command::selectTool, t};
}
KeyCommand cmd(Command c) {
    return {c, std::nullopt};
}

class EditorKeyTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(EditorKeyTable, MapsThePressToItsCommand) {
    const KeyCase& c = GetParam();
    const KeyCommand got = commandFor(c.press);
    EXPECT_EQ(got.command, c.expected.command);
    EXPECT_EQ(got.tool, c.expected.tool);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorKeyTable,
    ::testing::Values(
        // Tool letters need no modifier at all.
        KeyCase{"r", {Qt::Key_R, "r", {}, false}, tool(EditorTool::rect)},
        KeyCase{"c", {Qt::Key_C, "c", {}, false}, tool(EditorTool::crop)},
        KeyCase{"shiftR", {Qt::Key_R, "R", shift, false}, cmd(Command::none)},
        KeyCase{"capsLockR", {Qt::Key_R, "R", {}, true}, cmd(Command::none)},
        KeyCase{"altR", {Qt::Key_R, "r", Qt::AltModifier, false}, cmd(Command::none)},
        KeyCase{"superR", {Qt::Key_R, "r", Qt::MetaModifier, false}, cmd(Command::none)},
        KeyCase{"notATool", {Qt::Key_X, "x", {}, false}, cmd(Command::none)},
        // The typed character decides, not the key's position.
        KeyCase{"layoutGivesR", {Qt::Key_Z, "r", {}, false}, tool(EditorTool::rect)},
        KeyCase{"noTextFallsBackToKey", {Qt::Key_P, "", {}, false}, tool(EditorTool::pen)},
        // Escape and the two delete keys, whatever the modifiers.
        KeyCase{"escape", {Qt::Key_Escape, "\x1b", {}, false}, cmd(Command::escape)},
        KeyCase{"shiftEscape", {Qt::Key_Escape, "", shift, false}, cmd(Command::escape)},
        KeyCase{"backspace", {Qt::Key_Backspace, "\b", {}, false}, cmd(Command::deleteSelection)},
        KeyCase{"forwardDelete", {Qt::Key_Delete, "", {}, false}, cmd(Command::deleteSelection)},
        KeyCase{"ctrlBackspace", {Qt::Key_Backspace, "", ctrl, false}, cmd(Command::deleteSelection)},
        // Ctrl shortcuts: exactly Ctrl, or exactly Ctrl+Shift.
        KeyCase{"ctrlC", {Qt::Key_C, "\x03", ctrl, false}, cmd(Command::copy)},
        KeyCase{"ctrlShiftS", {Qt::Key_S, "", ctrl | shift, false}, cmd(Command::save)},
        KeyCase{"ctrlP", {Qt::Key_P, "", ctrl, false}, cmd(Command::pin)},
        KeyCase{"ctrlZ", {Qt::Key_Z, "", ctrl, false}, cmd(Command::undo)},
        KeyCase{"ctrlShiftZ", {Qt::Key_Z, "", ctrl | shift, false}, cmd(Command::redo)},
        KeyCase{"ctrlW", {Qt::Key_W, "", ctrl, false}, cmd(Command::close)},
        KeyCase{"ctrl0", {Qt::Key_0, "", ctrl, false}, cmd(Command::zoomActual)},
        KeyCase{"ctrlEqual", {Qt::Key_Equal, "", ctrl, false}, cmd(Command::zoomIn)},
        KeyCase{"ctrlPlusWithoutShift", {Qt::Key_Plus, "", ctrl, false}, cmd(Command::zoomIn)},
        KeyCase{"ctrlMinus", {Qt::Key_Minus, "", ctrl, false}, cmd(Command::zoomOut)},
        // Shift with "=" types "+": that is not zoom.
        KeyCase{"ctrlShiftPlus", {Qt::Key_Plus, "", ctrl | shift, false}, cmd(Command::none)},
        KeyCase{"ctrlShiftC", {Qt::Key_C, "", ctrl | shift, false}, cmd(Command::none)},
        KeyCase{"ctrlAltZ", {Qt::Key_Z, "", ctrl | Qt::AltModifier, false}, cmd(Command::none)},
        KeyCase{"ctrlKeypadMinus", {Qt::Key_Minus, "", ctrl | Qt::KeypadModifier, false}, cmd(Command::none)},
        KeyCase{"ctrlR", {Qt::Key_R, "", ctrl, false}, cmd(Command::none)},
        // Caps Lock does not block a shortcut.
        KeyCase{"ctrlZWithCapsLock", {Qt::Key_Z, "", ctrl, true}, cmd(Command::undo)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorCapsLock, ReadFromTheX11LockBitOrFromUpperCaseTextWithoutShift) {
    struct Row {
        const char* text;
        Qt::KeyboardModifiers modifiers;
        quint32 state;
        bool on;
    };
    const Row rows[] = {
        {"r", {}, 0, false},     {"R", {}, 0, true},   {"R", shift, 0, false},
        {"r", shift, 0x2, true}, {"r", {}, 0x2, true}, {"r", {}, 0x10, false}, // Num Lock is not Caps Lock
        {"1", {}, 0, false},     {"", {}, 0, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(capsLockOn(QString::fromLatin1(r.text), r.modifiers, r.state), r.on)
            << r.text << " " << r.modifiers.toInt() << " " << r.state;
}

TEST(EditorToolLetters, EveryToolHasExactlyTheLetterItsTooltipNames) {
    for (EditorTool t : editortool::allCases()) {
        const QString tip = editortool::tooltip(t);
        const QChar letter = tip.at(tip.size() - 2).toLower(); // "Rectangle (R)"
        EXPECT_EQ(toolForLetter(letter), t) << tip.toStdString();
    }
    int tools = 0;
    for (char c = 'a'; c <= 'z'; ++c)
        tools += toolForLetter(QLatin1Char(c)).has_value();
    EXPECT_EQ(tools, 11);
}

} // namespace
