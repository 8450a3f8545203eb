#include "ocr/OCRService.h"

#include "ocr/BarcodeReader.h"
#include "ocr/OCRImage.h"
#include "ocr/OCRLanguages.h"
#include "ocr/TextRecognizer.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

OCRService& OCRService::shared() {
    static OCRService service;
    return service;
}

OCRService::OCRService() : OCRService(&OCRService::recognizeSync) {}

OCRService::OCRService(Recognizer recognizer)
    : m_recognizer(std::move(recognizer)), m_pool(std::make_unique<QThreadPool>()) {
    m_pool->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // Threads stay, and with them the text engines they loaded: the next recognition starts warm.
    m_pool->setExpiryTimeout(-1);
    m_pool->setObjectName(QStringLiteral("Pictro text recognition"));
}

// Waits for running recognitions, so no pool thread outlives the service.
OCRService::~OCRService() = default;

OCRService::Options OCRService::currentOptions() {
    const Settings& settings = Settings::shared();
    Options options{settings.ocrLanguage(), settings.boolValue(keys::ocrRemoveLineBreaks)};
    options.pack = ocrlanguages::singlePack(settings.stringValue(keys::ocrLanguage)).value_or(QString());
    return options;
}

QFuture<OCRResult> OCRService::recognize(const QImage& image) const {
    return recognize(image, currentOptions());
}

QFuture<OCRResult> OCRService::recognize(const QImage& image, Options options) const {
    // QImage is implicitly shared and never written here, so handing it to the pool copies nothing.
    return QtConcurrent::run(
        m_pool.get(), [recognizer = m_recognizer, image, options] { return recognizer(image, options); });
}

OCRResult OCRService::recognizeSync(const QImage& image, Options options) {
    const QImage grey = ocrimage::prepared(image);
    if (grey.isNull()) return {};
    const std::vector<barcodereader::Barcode> barcodes = barcodereader::find(grey);
    const QStringList lines = textrecognizer::recognizeLines(
        barcodereader::withoutBarcodes(grey, barcodes),
        options.pack.isEmpty() ? ocrlanguages::packsFor(options.language) : QStringList{options.pack});
    QStringList payloads;
    for (const barcodereader::Barcode& code : barcodes)
        payloads << code.payload;
    return {joinLines(lines, options.removeLineBreaks), payloads};
}

QString OCRService::joinLines(const QStringList& lines, bool removeLineBreaks) {
    return lines.join(removeLineBreaks ? QStringLiteral(" ") : QStringLiteral("\n"));
}
