#pragma once

#include <QString>
#include <QStringList>

// What recognition found in one image. Immutable once made.
struct OCRResult {
    // The recognised lines, joined by a line feed or, when line breaks are removed, by one space.
    QString text;
    // Payloads of the barcodes found, in the order the reader found them; never an empty one.
    QStringList qrPayloads;

    // The payloads first, then the text when there is any, one per line.
    QString clipboardText() const;

    bool operator==(const OCRResult&) const = default;
};
