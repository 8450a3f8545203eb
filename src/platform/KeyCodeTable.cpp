#include "platform/KeyCodeTable.h"

#include <Qt>

namespace keycodes {
namespace {

struct Row {
    quint32 code; // program key code
    quint32 x;    // X keycode
    int qt;       // Qt::Key, 0 where none fits
};

// Main block, function keys, navigation and keypad of a 105-key keyboard.
constexpr Row rows[] = {
    {0, 38, Qt::Key_A},
    {11, 56, Qt::Key_B},
    {8, 54, Qt::Key_C},
    {2, 40, Qt::Key_D},
    {14, 26, Qt::Key_E},
    {3, 41, Qt::Key_F},
    {5, 42, Qt::Key_G},
    {4, 43, Qt::Key_H},
    {34, 31, Qt::Key_I},
    {38, 44, Qt::Key_J},
    {40, 45, Qt::Key_K},
    {37, 46, Qt::Key_L},
    {46, 58, Qt::Key_M},
    {45, 57, Qt::Key_N},
    {31, 32, Qt::Key_O},
    {35, 33, Qt::Key_P},
    {12, 24, Qt::Key_Q},
    {15, 27, Qt::Key_R},
    {1, 39, Qt::Key_S},
    {17, 28, Qt::Key_T},
    {32, 30, Qt::Key_U},
    {9, 55, Qt::Key_V},
    {13, 25, Qt::Key_W},
    {7, 53, Qt::Key_X},
    {16, 29, Qt::Key_Y},
    {6, 52, Qt::Key_Z},
    {29, 19, Qt::Key_0},
    {18, 10, Qt::Key_1},
    {19, 11, Qt::Key_2},
    {20, 12, Qt::Key_3},
    {21, 13, Qt::Key_4},
    {23, 14, Qt::Key_5},
    {22, 15, Qt::Key_6},
    {26, 16, Qt::Key_7},
    {28, 17, Qt::Key_8},
    {25, 18, Qt::Key_9},
    {49, 65, Qt::Key_Space},
    {36, 36, Qt::Key_Return},
    {53, 9, Qt::Key_Escape},
    {51, 22, Qt::Key_Backspace},
    {48, 23, Qt::Key_Tab},
    {123, 113, Qt::Key_Left},
    {124, 114, Qt::Key_Right},
    {126, 111, Qt::Key_Up},
    {125, 116, Qt::Key_Down},
    {122, 67, Qt::Key_F1},
    {120, 68, Qt::Key_F2},
    {99, 69, Qt::Key_F3},
    {118, 70, Qt::Key_F4},
    {96, 71, Qt::Key_F5},
    {97, 72, Qt::Key_F6},
    {98, 73, Qt::Key_F7},
    {100, 74, Qt::Key_F8},
    {101, 75, Qt::Key_F9},
    {109, 76, Qt::Key_F10},
    {103, 95, Qt::Key_F11},
    {111, 96, Qt::Key_F12},
    {27, 20, Qt::Key_Minus},
    {24, 21, Qt::Key_Equal},
    {33, 34, Qt::Key_BracketLeft},
    {30, 35, Qt::Key_BracketRight},
    {41, 47, Qt::Key_Semicolon},
    {39, 48, Qt::Key_Apostrophe},
    {43, 59, Qt::Key_Comma},
    {47, 60, Qt::Key_Period},
    {44, 61, Qt::Key_Slash},
    {42, 51, Qt::Key_Backslash},
    {50, 49, Qt::Key_QuoteLeft},
    // Print Screen sits where the thirteenth function key is numbered.
    {105, 107, Qt::Key_Print},
    {117, 119, Qt::Key_Delete},
    {115, 110, Qt::Key_Home},
    {119, 115, Qt::Key_End},
    {116, 112, Qt::Key_PageUp},
    {121, 117, Qt::Key_PageDown},
    {114, 118, Qt::Key_Insert},
    {107, 78, Qt::Key_ScrollLock},
    {113, 127, Qt::Key_Pause},
    {106, 194, Qt::Key_F16},
    {64, 195, Qt::Key_F17},
    {79, 196, Qt::Key_F18},
    {80, 197, Qt::Key_F19},
    {90, 198, Qt::Key_F20},
    // Keypad: the same physical keys whatever Num Lock says.
    {82, 90, 0},
    {83, 87, 0},
    {84, 88, 0},
    {85, 89, 0},
    {86, 83, 0},
    {87, 84, 0},
    {88, 85, 0},
    {89, 79, 0},
    {91, 80, 0},
    {92, 81, 0},
    {65, 91, 0},
    {67, 63, Qt::Key_Asterisk},
    {69, 86, Qt::Key_Plus},
    {75, 106, 0},
    {76, 104, Qt::Key_Enter},
    {78, 82, 0},
    {81, 125, 0},
    {71, 77, Qt::Key_NumLock},
    {10, 94, Qt::Key_Less}, // the extra key beside the left Shift
};

} // namespace

std::optional<quint32> toXKeycode(quint32 keyCode) {
    for (const Row& r : rows)
        if (r.code == keyCode) return r.x;
    return std::nullopt;
}

std::optional<quint32> fromXKeycode(quint32 xKeycode) {
    for (const Row& r : rows)
        if (r.x == xKeycode) return r.code;
    return std::nullopt;
}

std::optional<quint32> fromQtKey(int qtKey) {
    if (qtKey == 0) return std::nullopt;
    for (const Row& r : rows)
        if (r.qt == qtKey) return r.code;
    return std::nullopt;
}

std::optional<int> toQtKey(quint32 keyCode) {
    for (const Row& r : rows)
        if (r.code == keyCode && r.qt != 0) return r.qt;
    return std::nullopt;
}

} // namespace keycodes
