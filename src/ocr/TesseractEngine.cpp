// The text engine as a module of its own, loaded on the first recognition: the engine and the
// libraries it pulls in (image codecs, network and archive code) then cost no start-up time and
// no memory in a session that never reads text.
#include <QImage>
#include <QString>
#include <QStringList>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <omp.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

// The engine asks OpenMP for four threads per line; on a machine with few cores they spin against
// each other and a page takes ten times as long (7.1 s against 0.71 s on two cores). The runtime
// reads OMP_THREAD_LIMIT only when it is loaded, which Qt's core library does before main, so the
// thread that reads text runs the engine's parallel regions on itself alone, unless the user set a
// limit of their own before starting Pictro.
void oneThreadUnlessTheUserChose() {
    if (omp_get_thread_limit() == INT_MAX) omp_set_max_active_levels(0);
}

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
        oneThreadUnlessTheUserChose();
        engine = startEngine(languages);
        loaded = engine ? languages : QString();
    }
    return engine.get();
}

QString lineText(tesseract::ResultIterator& it) {
    std::unique_ptr<char[]> raw(it.GetUTF8Text(tesseract::RIL_TEXTLINE));
    return raw ? QString::fromUtf8(raw.get()).trimmed() : QString();
}

} // namespace

#define PICTRO_ENGINE_EXPORT extern "C" __attribute__((visibility("default")))

// The language packs the engine finds installed.
PICTRO_ENGINE_EXPORT void pictro_text_engine_packs(QStringList* packs) {
    tesseract::TessBaseAPI probe;
    probe.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY);
    std::vector<std::string> available;
    probe.GetAvailableLanguagesAsVector(&available);
    for (const std::string& name : available)
        *packs << QString::fromStdString(name);
    probe.End();
}

// The lines of text in a greyscale image, read with the engine's `languages` argument ("eng+vie");
// false when the engine could not start with them.
PICTRO_ENGINE_EXPORT bool pictro_text_engine_read(const QImage* grey, const QString* languages,
                                                  QStringList* lines) {
    tesseract::TessBaseAPI* engine = engineFor(*languages);
    if (!engine) return false;
    engine->SetImage(grey->constBits(), grey->width(), grey->height(), 1,
                     static_cast<int>(grey->bytesPerLine()));
    // Screens show text at about 96 dots per inch; telling the engine so saves its guess.
    engine->SetSourceResolution(96);
    if (engine->Recognize(nullptr) == 0) {
        std::unique_ptr<tesseract::ResultIterator> it(engine->GetIterator());
        if (it) {
            do {
                const QString line = lineText(*it);
                if (!line.isEmpty()) *lines << line;
            } while (it->Next(tesseract::RIL_TEXTLINE));
        }
    }
    // The kept engine must not hold on to this image or its results.
    engine->Clear();
    return true;
}
