#include "app/selfcheck/SelfChecks.h"

#include "ocr/OCRService.h"
#include "ocr/QRCodeImage.h"

#include <QPainter>

namespace selfchecks {
namespace {

// A line of black type beside a QR code on white, as a dragged area of a page might hold them.
QImage textAndCode(const QString& line, const QString& payload) {
    QImage image(900, 260, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(300, 145), line);
    painter.drawImage(QPoint(20, 20), qrcodeimage::make(payload, 6));
    return image;
}

std::optional<QString> checkTextAndQRCode(const QDir& out) {
    const QString line = QStringLiteral("Pictro reads text");
    const QString payload = QStringLiteral("pictro://ocr");
    const QImage image = textAndCode(line, payload);
    image.save(out.filePath(QStringLiteral("ocr-input.png")));
    // The same path as the program's own recognitions: the shared service, off this thread.
    const OCRResult result =
        OCRService::shared().recognize(image, {OCRLanguage::englishPlus, false}).result();
    if (result.qrPayloads != QStringList{payload})
        return mismatch(QStringLiteral("QR payloads"), payload,
                        result.qrPayloads.join(QStringLiteral(" | ")));
    if (result.text != line) return mismatch(QStringLiteral("text"), line, result.text);
    const QString expected = payload + QLatin1Char('\n') + line;
    if (result.clipboardText() != expected)
        return mismatch(QStringLiteral("clipboard text"), expected, result.clipboardText());
    return std::nullopt;
}

} // namespace

std::vector<SelfCheck> ocrChecks() {
    return {{QStringLiteral("ocr-text-and-qr"), checkTextAndQRCode}};
}

} // namespace selfchecks
