#include "app/selfcheck/SelfChecks.h"

#include "settings/HexColor.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QTemporaryDir>

namespace selfchecks {

QString mismatch(const QString& what, const QString& expected, const QString& actual) {
    return QStringLiteral("%1: expected %2, got %3").arg(what, expected, actual);
}

namespace {

QString comboText(const std::optional<KeyCombo>& c) {
    return c ? c->encoded() : QStringLiteral("none");
}

std::optional<QString> checkShortcutForms() {
    const auto c = KeyCombo::fromEncoded(QStringLiteral("18:768"));
    if (!c || c->keyCode != 18 || c->modifiers != 768) return mismatch("18:768", "18/768", comboText(c));
    if (c->display() != QStringLiteral("⇧⌘1")) return mismatch("display", "⇧⌘1", c->display());
    if (c->encoded() != QStringLiteral("18:768")) return mismatch("encoding", "18:768", c->encoded());
    const auto ocr = hotkeyaction::defaultCombo(HotkeyAction::ocr);
    if (!ocr || ocr->display() != QStringLiteral("⌃⌥⌘O"))
        return mismatch("ocr default", "⌃⌥⌘O", ocr ? ocr->display() : QStringLiteral("none"));
    for (const char* bad : {"18:768:0", "18", "", " 18:768", "18:-768", "4294967296:0"})
        if (auto parsed = KeyCombo::fromEncoded(QString::fromLatin1(bad)))
            return mismatch(QStringLiteral("'%1'").arg(QLatin1String(bad)), "no combo", parsed->encoded());
    for (const char* loose : {"18::768", ":18:768"})
        if (KeyCombo::fromEncoded(QString::fromLatin1(loose)) != c)
            return mismatch(QString::fromLatin1(loose), "18:768", comboText(KeyCombo::fromEncoded(loose)));
    if (KeyCombo::keyName(105) != QStringLiteral("key105"))
        return mismatch("key 105", "key105", KeyCombo::keyName(105));
    return std::nullopt;
}

std::optional<QString> checkBindings() {
    QTemporaryDir dir;
    Settings s(dir.filePath(QStringLiteral("Pictro.conf")));
    if (comboText(s.combo(HotkeyAction::fullscreen)) != QStringLiteral("18:768"))
        return mismatch("fullscreen default", "18:768", comboText(s.combo(HotkeyAction::fullscreen)));
    if (s.combo(HotkeyAction::repeatArea))
        return mismatch("repeatArea default", "none", comboText(s.combo(HotkeyAction::repeatArea)));
    s.set(hotkeyaction::settingsKey(HotkeyAction::fullscreen), QString());
    if (s.combo(HotkeyAction::fullscreen))
        return mismatch("unbound fullscreen", "none", comboText(s.combo(HotkeyAction::fullscreen)));
    return std::nullopt;
}

std::optional<QString> checkRectText() {
    QTemporaryDir dir;
    Settings s(dir.filePath(QStringLiteral("Pictro.conf")));
    s.setLastAreaRect(QRectF(10, 20, 300, 200));
    const QString text = s.stringValue(keys::lastAreaRect);
    if (text != QStringLiteral("10.0,20.0,300.0,200.0"))
        return mismatch("stored rectangle", "10.0,20.0,300.0,200.0", text);
    if (s.lastAreaRect() != QRectF(10, 20, 300, 200)) return QStringLiteral("rectangle does not read back");
    for (const char* ok : {"1,,2,3,4", "1,2,x,3,4"})
        if (settingsformat::parseRect(QString::fromLatin1(ok)) != QRectF(1, 2, 3, 4))
            return mismatch(QString::fromLatin1(ok), "(1, 2, 3, 4)", "another rectangle");
    for (const char* bad : {"1,2,3", "abc"})
        if (settingsformat::parseRect(QString::fromLatin1(bad)))
            return mismatch(QString::fromLatin1(bad), "none", "a rectangle");
    return std::nullopt;
}

std::optional<QString> checkColours() {
    const auto orange = hexcolor::parse(QStringLiteral("  #ff8000 \n"));
    if (!orange || hexcolor::hexString(*orange) != QStringLiteral("#FF8000"))
        return mismatch("#ff8000", "#FF8000", orange ? hexcolor::hexString(*orange) : QStringLiteral("none"));
    for (const char* bad : {"#ff800", "#gg8000"})
        if (hexcolor::parse(QString::fromLatin1(bad)))
            return mismatch(QString::fromLatin1(bad), "none", "a colour");
    return std::nullopt;
}

std::optional<QString> checkDefaults() {
    Settings::registerDefaults();
    QTemporaryDir dir;
    Settings s(dir.filePath(QStringLiteral("Pictro.conf")));
    if (!s.boolValue(keys::afterShow) || s.boolValue(keys::afterCopy) || s.boolValue(keys::afterSave))
        return QStringLiteral("after-capture defaults are not show-only");
    if (s.afterCropShow() != AfterCropShow::editor)
        return QStringLiteral("afterCropShow default is not editor");
    s.set(keys::saveFormat, QStringLiteral("PNG"));
    if (s.saveFormat() != SaveFormat::autoFormat) return QStringLiteral("'PNG' does not read as auto");
    return std::nullopt;
}

} // namespace

std::vector<SelfCheck> shortcutChecks() {
    return {{QStringLiteral("shortcut-forms"), [](const QDir&) { return checkShortcutForms(); }},
            {QStringLiteral("shortcut-bindings"), [](const QDir&) { return checkBindings(); }}};
}

std::vector<SelfCheck> settingsChecks() {
    return {{QStringLiteral("settings-rectangle"), [](const QDir&) { return checkRectText(); }},
            {QStringLiteral("settings-colour"), [](const QDir&) { return checkColours(); }},
            {QStringLiteral("settings-defaults"), [](const QDir&) { return checkDefaults(); }}};
}

} // namespace selfchecks
