#pragma once

#include "ocr/OCRResult.h"
#include "settings/SettingsEnums.h"

#include <QFuture>
#include <QImage>

#include <functional>
#include <memory>

class QThreadPool;

// Turns an image into text and barcode payloads. Recognitions run on a thread pool of the
// service's own, each thread with its own text engine kept warm, so several may run at once and
// screen captures, which use the global pool, never wait behind them.
class OCRService {
  public:
    // What a recognition reads with; taken from the settings when it starts.
    struct Options {
        OCRLanguage language = OCRLanguage::englishPlus;
        bool removeLineBreaks = false;
        // One installed pack chosen in the preferences ("deu"); read with alone, instead of
        // `language`, when set.
        QString pack = {};
    };

    static OCRService& shared();

    // What turns one image into a result on a pool thread; recognizeSync unless a test says otherwise.
    using Recognizer = std::function<OCRResult(const QImage&, Options)>;
    OCRService();
    explicit OCRService(Recognizer recognizer);
    ~OCRService();

    // Starts recognising off the calling thread and returns at once. Never fails: a failure gives
    // an empty or partial result. Attach the continuation with a context object on the main
    // thread (`future.then(object, …)`) to have it delivered there.
    QFuture<OCRResult> recognize(const QImage& image) const;
    QFuture<OCRResult> recognize(const QImage& image, Options options) const;

    // The blocking recognition behind `recognize`.
    static OCRResult recognizeSync(const QImage& image, Options options);

    // The options the settings ask for now.
    static Options currentOptions();

    // Lines joined as the option says: one per line, or all on one line with single spaces.
    static QString joinLines(const QStringList& lines, bool removeLineBreaks);

  private:
    Recognizer m_recognizer;
    std::unique_ptr<QThreadPool> m_pool;
};
