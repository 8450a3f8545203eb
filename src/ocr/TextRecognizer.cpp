#include "ocr/TextRecognizer.h"

#include "ocr/OCRLanguages.h"

#include <QMutex>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <cstdio>
#include <memory>

namespace textrecognizer {

namespace {

// The engine's API object must be ended before it is deleted, or its language data stays loaded.
struct EngineDeleter {
    void operator()(tesseract::TessBaseAPI* api) const {
        api->End();
        delete api;
    }
};
using Engine = std::unique_ptr<tesseract::TessBaseAPI, EngineDeleter>;

// The language models Debian ships are the LSTM ones, so the LSTM engine is the accurate one.
Engine startEngine(const QString& languages) {
    Engine engine(new tesseract::TessBaseAPI);
    if (engine->Init(nullptr, languages.toUtf8().constData(), tesseract::OEM_LSTM_ONLY) != 0) return nullptr;
    // The engine's notes ("Estimating resolution…") would otherwise go to standard error.
    engine->SetVariable("debug_file", "/dev/null");
    return engine;
}

// Starting an engine loads its language models, about a quarter of a second for two packs, which
// would dominate the reading of a small dragged area. Each pool thread keeps the engine it started
// for as long as the thread lives, so no engine is ever shared between threads.
tesseract::TessBaseAPI* engineFor(const QString& languages) {
    thread_local Engine engine;
    thread_local QString loaded;
    if (!engine || loaded != languages) {
        engine = startEngine(languages);
        loaded = engine ? languages : QString();
    }
    return engine.get();
}

QString lineText(tesseract::ResultIterator& it) {
    std::unique_ptr<char[]> raw(it.GetUTF8Text(tesseract::RIL_TEXTLINE));
    return raw ? QString::fromUtf8(raw.get()).trimmed() : QString();
}

// Says once per process which packs are missing, so the log is not flooded on every recognition.
void reportMissing(const QStringList& wanted, const QStringList& used) {
    static QMutex mutex;
    static QStringList reported;
    QMutexLocker lock(&mutex);
    for (const QString& pack : wanted) {
        if (used.contains(pack) || reported.contains(pack)) continue;
        reported << pack;
        std::fprintf(stderr, "Pictro: text recognition: language pack \"%s\" is not installed; reading with %s\n",
                     qPrintable(pack), qPrintable(used.join(QLatin1Char('+'))));
    }
}

} // namespace

QStringList installedPacks() {
    static const QStringList packs = [] {
        QStringList list;
        tesseract::TessBaseAPI probe;
        probe.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY);
        std::vector<std::string> available;
        probe.GetAvailableLanguagesAsVector(&available);
        for (const std::string& name : available) list << QString::fromStdString(name);
        probe.End();
        return list;
    }();
    return packs;
}

QStringList recognizeLines(const QImage& image, const QStringList& packs) {
    if (image.isNull()) return {};
    const QStringList used = ocrlanguages::usable(packs, installedPacks());
    reportMissing(packs, used);
    const QString languages = ocrlanguages::engineArgument(used);
    tesseract::TessBaseAPI* engine = engineFor(languages);
    if (!engine) {
        std::fprintf(stderr, "Pictro: text recognition: the engine could not start with %s\n", qPrintable(languages));
        return {};
    }
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    engine->SetImage(grey.constBits(), grey.width(), grey.height(), 1, static_cast<int>(grey.bytesPerLine()));
    // Screens show text at about 96 dots per inch; telling the engine so saves its guess.
    engine->SetSourceResolution(96);
    QStringList lines;
    if (engine->Recognize(nullptr) == 0) {
        std::unique_ptr<tesseract::ResultIterator> it(engine->GetIterator());
        if (it) {
            do {
                const QString line = lineText(*it);
                if (!line.isEmpty()) lines << line;
            } while (it->Next(tesseract::RIL_TEXTLINE));
        }
    }
    // The kept engine must not hold on to this image or its results.
    engine->Clear();
    return lines;
}

} // namespace textrecognizer
