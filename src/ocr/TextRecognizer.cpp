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
    const Engine engine = startEngine(used.join(QLatin1Char('+')));
    if (!engine) {
        std::fprintf(stderr, "Pictro: text recognition: the engine could not start with %s\n",
                     qPrintable(used.join(QLatin1Char('+'))));
        return {};
    }
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    engine->SetImage(grey.constBits(), grey.width(), grey.height(), 1, static_cast<int>(grey.bytesPerLine()));
    // Screens show text at about 96 dots per inch; telling the engine so saves its guess.
    engine->SetSourceResolution(96);
    if (engine->Recognize(nullptr) != 0) return {};
    QStringList lines;
    std::unique_ptr<tesseract::ResultIterator> it(engine->GetIterator());
    if (!it) return lines;
    do {
        const QString line = lineText(*it);
        if (!line.isEmpty()) lines << line;
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return lines;
}

} // namespace textrecognizer
