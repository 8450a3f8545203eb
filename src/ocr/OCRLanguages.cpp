#include "ocr/OCRLanguages.h"

#include <QLocale>
#include <QRegularExpression>

namespace ocrlanguages {

namespace {
const QString kEnglish = QStringLiteral("eng");
const QString kVietnamese = QStringLiteral("vie");
} // namespace

QStringList packsFor(OCRLanguage language) {
    switch (language) {
    case OCRLanguage::englishPlus:
        return {kEnglish, kVietnamese};
    case OCRLanguage::vietnamesePlus:
        return {kVietnamese, kEnglish};
    case OCRLanguage::autoLanguage:
        break;
    }
    return {kEnglish, kVietnamese};
}

QStringList usable(const QStringList& wanted, const QStringList& installed) {
    QStringList packs;
    for (const QString& pack : wanted)
        if (installed.contains(pack)) packs << pack;
    return packs.isEmpty() ? QStringList{kEnglish} : packs;
}

QString engineArgument(const QStringList& packs) {
    return packs.join(QLatin1Char('+'));
}

std::optional<QString> singlePack(const QString& stored) {
    if (ocrLanguageText.fromRaw(stored)) return std::nullopt;
    // Pack names as the engine's data folder has them ("chi_sim", "script/Latin"); "+" would
    // join packs and ".." would leave the folder.
    static const QRegularExpression name(
        QStringLiteral("^[A-Za-z][A-Za-z0-9_-]*(/[A-Za-z][A-Za-z0-9_-]*)?$"));
    if (!name.match(stored).hasMatch()) return std::nullopt;
    return stored;
}

QStringList selectablePacks(const QStringList& installed) {
    QStringList packs;
    for (const QString& pack : installed)
        if (pack != QLatin1String("osd") && pack != QLatin1String("equ") && singlePack(pack)) packs << pack;
    return packs;
}

QString packLabel(const QString& pack) {
    const QString code = pack.section(QLatin1Char('_'), 0, 0);
    const QLocale::Language language = QLocale::codeToLanguage(code, QLocale::AnyLanguageCode);
    if (language == QLocale::AnyLanguage || pack.contains(QLatin1Char('/'))) return pack;
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(language), pack);
}

} // namespace ocrlanguages
