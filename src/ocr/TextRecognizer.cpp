#include "ocr/TextRecognizer.h"

#include "ocr/OCRLanguages.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
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

// Installed under the program's own prefix (wherever it was copied to), else under the prefix it
// was built for, else the copy of this build.
QStringList modulePaths() {
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(PICTRO_TEXT_ENGINE_BESIDE_PROGRAM)),
            QStringLiteral(PICTRO_TEXT_ENGINE_INSTALLED), QStringLiteral(PICTRO_TEXT_ENGINE_BUILT)};
}

EngineModule loadModule() {
    QString errors;
    for (const QString& path : modulePaths()) {
        if (!QFileInfo::exists(path)) continue;
        // Never unloaded: the engines each pool thread keeps live in the module.
        QLibrary library(path);
        if (!library.load()) {
            errors += QStringLiteral(" ") + library.errorString();
            continue;
        }
        EngineModule module{reinterpret_cast<EngineModule::Packs>(library.resolve("pictro_text_engine_packs")),
                            reinterpret_cast<EngineModule::Read>(library.resolve("pictro_text_engine_read"))};
        if (module.packs && module.read) return module;
        errors += QStringLiteral(" ") + path + QStringLiteral(" lacks the engine's entry points");
    }
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
