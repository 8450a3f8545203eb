#include "settings/HotkeyAction.h"

namespace hotkeyaction {
namespace {

struct Entry {
    const char* raw;
    const char* label;
    std::optional<KeyCombo> combo;
};

const Entry& entry(HotkeyAction action) {
    static const Entry entries[] = {
        {"fullscreen", "Fullscreen screenshot", KeyCombo{18, KeyCombo::command | KeyCombo::shift}},
        {"area", "Area screenshot", KeyCombo{19, KeyCombo::command | KeyCombo::shift}},
        {"repeatArea", "Repeat area screenshot", std::nullopt},
        {"anyWindow", "Any window screenshot", std::nullopt},
        {"activeWindow", "Active window screenshot", std::nullopt},
        {"scrolling", "Scrolling screenshot", std::nullopt},
        {"showApp", "Show Pictro", std::nullopt},
        {"ocr", "Instant Text/QR Recognition",
         KeyCombo{31, KeyCombo::command | KeyCombo::option | KeyCombo::control}},
    };
    return entries[static_cast<int>(action)];
}

} // namespace

const std::array<HotkeyAction, 8>& allCases() {
    static const std::array<HotkeyAction, 8> all{HotkeyAction::fullscreen,   HotkeyAction::area,
                                                 HotkeyAction::repeatArea,   HotkeyAction::anyWindow,
                                                 HotkeyAction::activeWindow, HotkeyAction::scrolling,
                                                 HotkeyAction::showApp,      HotkeyAction::ocr};
    return all;
}

QString rawValue(HotkeyAction action) {
    return QString::fromLatin1(entry(action).raw);
}

std::optional<HotkeyAction> fromRaw(const QString& raw) {
    for (HotkeyAction a : allCases())
        if (rawValue(a) == raw) return a;
    return std::nullopt;
}

QString settingsKey(HotkeyAction action) {
    return QStringLiteral("hotkey_") + rawValue(action);
}

QString label(HotkeyAction action) {
    return QString::fromLatin1(entry(action).label);
}

std::optional<KeyCombo> defaultCombo(HotkeyAction action) {
    return entry(action).combo;
}

} // namespace hotkeyaction
