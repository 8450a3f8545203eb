#pragma once

#include "ocr/OCRResult.h"

#include <QString>

// What the instant recognition tells the user about one result.
struct OCRFeedback {
    // Empty when nothing was found: the clipboard is then left as it was.
    QString clipboardText;
    QString message;
    QString symbol;

    static OCRFeedback forInstantFlow(const OCRResult& result);
};

// Characters as a reader counts them (grapheme clusters), not code units or bytes.
int perceivedLength(const QString& text);
