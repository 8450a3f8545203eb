#include "ocr/OCRFeedback.h"

#include <QTextBoundaryFinder>

int perceivedLength(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

OCRFeedback OCRFeedback::forInstantFlow(const OCRResult& result) {
    const QString text = result.clipboardText();
    if (text.isEmpty())
        return {{}, QStringLiteral("No text or QR found"), QStringLiteral("text.magnifyingglass")};
    const int n = perceivedLength(text);
    if (!result.qrPayloads.isEmpty())
        return {text, QStringLiteral("QR/text copied (%1 chars)").arg(n),
                QStringLiteral("qrcode.viewfinder")};
    return {text, QStringLiteral("Text copied (%1 chars)").arg(n), QStringLiteral("text.viewfinder")};
}
