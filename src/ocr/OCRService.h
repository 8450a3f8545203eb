#pragma once

#include "ocr/OCRResult.h"
#include "settings/SettingsEnums.h"

#include <QFuture>
#include <QImage>

// Turns an image into text and barcode payloads. Holds no state of its own: recognitions run on
// pool threads, each thread with its own text engine, so several may run at once.
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
};
