#include "ocr/OCRResult.h"

QString OCRResult::clipboardText() const {
    if (qrPayloads.isEmpty()) return text;
    QStringList parts = qrPayloads;
    if (!text.isEmpty()) parts << text;
    return parts.join(QLatin1Char('\n'));
}
