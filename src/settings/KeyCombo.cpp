#include "settings/KeyCombo.h"

#include "platform/KeyCodeTable.h"

#include <QHash>
#include <QKeyEvent>
#include <QStringList>

namespace {

// Unsigned 32-bit decimal with an optional sign; no spaces.
std::optional<quint32> parseUInt32(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    quint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        value = value * 10 + static_cast<quint64>(c.unicode() - '0');
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (negative && value != 0) return std::nullopt;
    return static_cast<quint32>(value);
}

const QHash<quint32, QString>& keyNames() {
    static const QHash<quint32, QString> names = [] {
        QHash<quint32, QString> n;
        const quint32 letters[] = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                   45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
        for (int i = 0; i < 26; ++i)
            n.insert(letters[i], QString(QChar('A' + i)));
        const quint32 digits[] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
        for (int i = 0; i < 10; ++i)
            n.insert(digits[i], QString(QChar('0' + i)));
        n.insert(49, QStringLiteral("Space"));
        n.insert(36, QStringLiteral("↩"));
        n.insert(53, QStringLiteral("⎋"));
        n.insert(51, QStringLiteral("⌫"));
        n.insert(48, QStringLiteral("⇥"));
        n.insert(123, QStringLiteral("←"));
        n.insert(124, QStringLiteral("→"));
        n.insert(126, QStringLiteral("↑"));
        n.insert(125, QStringLiteral("↓"));
        const quint32 fkeys[] = {122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111};
        for (int i = 0; i < 12; ++i)
            n.insert(fkeys[i], QStringLiteral("F%1").arg(i + 1));
        const quint32 punct[] = {27, 24, 33, 30, 41, 39, 43, 47, 44, 42, 50};
        const char* punctNames[] = {"-", "=", "[", "]", ";", "'", ",", ".", "/", "\\", "`"};
        for (int i = 0; i < 11; ++i)
            n.insert(punct[i], QString::fromLatin1(punctNames[i]));
        return n;
    }();
    return names;
}

// Keys whose keycap name differs from the glyph form's; the rest keep their one-character name.
const QHash<quint32, QString>& keyLabels() {
    static const QHash<quint32, QString> labels = [] {
        QHash<quint32, QString> n;
        const std::pair<quint32, const char*> named[] = {
            {36, "Return"},   {53, "Esc"},        {51, "Backspace"}, {48, "Tab"},
            {123, "Left"},    {124, "Right"},     {126, "Up"},       {125, "Down"},
            {105, "Print"},   {117, "Delete"},    {115, "Home"},     {119, "End"},
            {116, "Page Up"}, {121, "Page Down"}, {114, "Insert"},   {107, "Scroll Lock"},
            {113, "Pause"},   {106, "F16"},       {64, "F17"},       {79, "F18"},
            {80, "F19"},      {90, "F20"},        {65, "KP ."},      {67, "KP *"},
            {69, "KP +"},     {75, "KP /"},       {76, "KP Enter"},  {78, "KP -"},
            {81, "KP ="},     {71, "Num Lock"},   {10, "<"},
        };
        for (const auto& [code, name] : named)
            n.insert(code, QString::fromLatin1(name));
        const quint32 keypadDigits[] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
        for (int i = 0; i < 10; ++i)
            n.insert(keypadDigits[i], QStringLiteral("KP %1").arg(i));
        return n;
    }();
    return labels;
}

} // namespace

std::optional<KeyCombo> KeyCombo::fromEncoded(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (pieces.size() != 2) return std::nullopt;
    const auto key = parseUInt32(pieces[0]);
    const auto mods = parseUInt32(pieces[1]);
    if (!key || !mods) return std::nullopt;
    return KeyCombo{*key, *mods};
}

QString KeyCombo::encoded() const {
    return QStringLiteral("%1:%2").arg(keyCode).arg(modifiers);
}

QString KeyCombo::display() const {
    QString s;
    if (modifiers & control) s += QStringLiteral("⌃");
    if (modifiers & option) s += QStringLiteral("⌥");
    if (modifiers & shift) s += QStringLiteral("⇧");
    if (modifiers & command) s += QStringLiteral("⌘");
    return s + keyName(keyCode);
}

QString KeyCombo::keyName(quint32 keyCode) {
    const auto it = keyNames().constFind(keyCode);
    return it != keyNames().constEnd() ? *it : QStringLiteral("key%1").arg(keyCode);
}

QString KeyCombo::label() const {
    QStringList parts;
    if (modifiers & command) parts << QStringLiteral("Ctrl");
    if (modifiers & option) parts << QStringLiteral("Alt");
    if (modifiers & shift) parts << QStringLiteral("Shift");
    if (modifiers & control) parts << QStringLiteral("Super");
    parts << keyLabel(keyCode);
    return parts.join(QLatin1Char('+'));
}

QString KeyCombo::keyLabel(quint32 keyCode) {
    const auto it = keyLabels().constFind(keyCode);
    if (it != keyLabels().constEnd()) return *it;
    const auto name = keyNames().constFind(keyCode);
    return name != keyNames().constEnd() ? *name : QStringLiteral("Key %1").arg(keyCode);
}

std::optional<KeyCombo> KeyCombo::fromKeyEvent(const QKeyEvent& event) {
    std::optional<quint32> code;
    if (event.nativeScanCode() != 0) code = keycodes::fromXKeycode(event.nativeScanCode());
    if (!code) code = keycodes::fromQtKey(event.key());
    if (!code) return std::nullopt;
    const Qt::KeyboardModifiers m = event.modifiers();
    quint32 mods = 0;
    if (m & Qt::ControlModifier) mods |= command;
    if (m & Qt::ShiftModifier) mods |= shift;
    if (m & Qt::AltModifier) mods |= option;
    if (m & Qt::MetaModifier) mods |= control;
    return KeyCombo{*code, mods};
}
