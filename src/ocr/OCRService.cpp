#include "ocr/OCRService.h"

#include "ocr/BarcodeReader.h"
#include "ocr/OCRImage.h"
#include "ocr/OCRLanguages.h"
#include "ocr/TextRecognizer.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QtConcurrent/QtConcurrentRun>

OCRService& OCRService::shared() {
    static OCRService service;
    return service;
}

OCRService::Options OCRService::currentOptions() {
    const Settings& settings = Settings::shared();
    Options options{settings.ocrLanguage(), settings.boolValue(keys::ocrRemoveLineBreaks)};
    options.pack = ocrlanguages::singlePack(settings.stringValue(keys::ocrLanguage)).value_or(QString());
    return options;
}

QFuture<OCRResult> OCRService::recognize(const QImage& image) const { return recognize(image, currentOptions()); }

QFuture<OCRResult> OCRService::recognize(const QImage& image, Options options) const {
    // QImage is implicitly shared and never written here, so handing it to the pool copies nothing.
    return QtConcurrent::run([image, options] { return recognizeSync(image, options); });
}

OCRResult OCRService::recognizeSync(const QImage& image, Options options) {
    const QImage grey = ocrimage::prepared(image);
    if (grey.isNull()) return {};
    const std::vector<barcodereader::Barcode> barcodes = barcodereader::find(grey);
    const QStringList lines = textrecognizer::recognizeLines(barcodereader::withoutBarcodes(grey, barcodes),
                                                             options.pack.isEmpty()
                                                                 ? ocrlanguages::packsFor(options.language)
                                                                 : QStringList{options.pack});
    QStringList payloads;
    for (const barcodereader::Barcode& code : barcodes) payloads << code.payload;
    return {joinLines(lines, options.removeLineBreaks), payloads};
}

QString OCRService::joinLines(const QStringList& lines, bool removeLineBreaks) {
    return lines.join(removeLineBreaks ? QStringLiteral(" ") : QStringLiteral("\n"));
}
