#include "ocr/TextRecognizer.h"

#include "ocr/EngineModule.h"
#include "ocr/OCRLanguages.h"
#include "platform/Log.h"

#include <QMutex>

#include <cstdio>

namespace textrecognizer {

namespace {

// The entry points of the text engine module (TesseractEngine.cpp).
struct EngineModule {
    using Packs = void (*)(QStringList*);
    using Read = bool (*)(const QImage*, const QString*, QStringList*);
    Packs packs = nullptr;
    Read read = nullptr;
};

EngineModule loadModule() {
    QString errors;
    const std::vector<QFunctionPointer> entries =
        enginemodule::load(enginemodule::searchPaths(QStringLiteral(PICTRO_TEXT_ENGINE_BESIDE_PROGRAM),
                                                     QStringLiteral(PICTRO_TEXT_ENGINE_INSTALLED),
                                                     QStringLiteral(PICTRO_TEXT_ENGINE_BUILT)),
                           {"pictro_text_engine_packs", "pictro_text_engine_read"}, &errors);
    if (entries.size() == 2)
        return {reinterpret_cast<EngineModule::Packs>(entries[0]),
                reinterpret_cast<EngineModule::Read>(entries[1])};
    qCWarning(lcOcr, "text recognition: the engine module could not be loaded;%s",
              errors.isEmpty() ? " it is not installed" : qPrintable(errors));
    return {};
}

const EngineModule& module() {
    static const EngineModule loaded = loadModule();
    return loaded;
}

// Says once per process which packs are missing, so the log is not flooded on every recognition.
void reportMissing(const QStringList& wanted, const QStringList& used) {
    static QMutex mutex;
    static QStringList reported;
    QMutexLocker lock(&mutex);
    for (const QString& pack : wanted) {
        if (used.contains(pack) || reported.contains(pack)) continue;
        reported << pack;
        qCWarning(lcOcr, "text recognition: language pack \"%s\" is not installed; reading with %s",
                  qPrintable(pack), qPrintable(used.join(QLatin1Char('+'))));
    }
}

} // namespace

QStringList installedPacks() {
    static const QStringList packs = [] {
        QStringList list;
        if (module().packs) module().packs(&list);
        return list;
    }();
    return packs;
}

QStringList recognizeLines(const QImage& image, const QStringList& packs) {
    if (image.isNull() || !module().read) return {};
    const QStringList used = ocrlanguages::usable(packs, installedPacks());
    reportMissing(packs, used);
    const QString languages = ocrlanguages::engineArgument(used);
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    QStringList lines;
    if (!module().read(&grey, &languages, &lines))
        qCWarning(lcOcr, "text recognition: the engine could not start with %s", qPrintable(languages));
    return lines;
}

} // namespace textrecognizer
