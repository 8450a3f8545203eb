#include "ocr/OCRLanguages.h"

namespace ocrlanguages {

namespace {
const QString kEnglish = QStringLiteral("eng");
const QString kVietnamese = QStringLiteral("vie");
} // namespace

QStringList packsFor(OCRLanguage language) {
    switch (language) {
    case OCRLanguage::englishPlus: return {kEnglish, kVietnamese};
    case OCRLanguage::vietnamesePlus: return {kVietnamese, kEnglish};
    case OCRLanguage::autoLanguage: break;
    }
    return {kEnglish, kVietnamese};
}

QStringList usable(const QStringList& wanted, const QStringList& installed) {
    QStringList packs;
    for (const QString& pack : wanted)
        if (installed.contains(pack)) packs << pack;
    return packs.isEmpty() ? QStringList{kEnglish} : packs;
}

QString engineArgument(const QStringList& packs) { return packs.join(QLatin1Char('+')); }

} // namespace ocrlanguages
