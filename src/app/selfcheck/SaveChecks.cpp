#include "app/selfcheck/SelfChecks.h"

#include "save/FormatDecision.h"
#include "save/ImageFileFormat.h"

#include <QRandomGenerator>

namespace selfchecks {
namespace {

QString formatName(ImageFileFormat f) {
    return fileExtension(f);
}

// A 64 × 64 image with exactly `keys` distinct 12-bit colours.
QImage withColourKeys(int keys) {
    QImage image(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i) {
        const int k = i < keys ? i : 0;
        image.setPixel(i % 64, i / 64, qRgb((k >> 8) * 16 + 8, ((k >> 4) & 15) * 16 + 8, (k & 15) * 16 + 8));
    }
    return image;
}

std::optional<QString> expectFormat(const char* what, const QImage& image, ImageFileFormat expected) {
    const ImageFileFormat got = formatdecision::decide(image, SaveFormat::autoFormat);
    if (got != expected) return mismatch(QString::fromLatin1(what), formatName(expected), formatName(got));
    return std::nullopt;
}

std::optional<QString> checkFlatAndNoise(const QDir& dir) {
    QImage flat(500, 500, QImage::Format_RGB32);
    flat.fill(QColor(30, 144, 255));
    QImage noise(500, 500, QImage::Format_RGB32);
    QRandomGenerator rng(2024);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x)
            noise.setPixel(x, y, rng.generate() | 0xff000000u);
    if (auto f = expectFormat("flat colour", flat, ImageFileFormat::png)) return f;
    if (auto f = expectFormat("noise", noise, ImageFileFormat::jpeg)) return f;
    if (formatdecision::decide(noise, SaveFormat::png) != ImageFileFormat::png)
        return QStringLiteral("saveFormat png does not force PNG");
    noise.save(dir.filePath(QStringLiteral("format-noise.jpg")), "JPEG", 90);
    return std::nullopt;
}

std::optional<QString> checkBoundary(const QDir&) {
    if (formatdecision::distinctColourKeys(withColourKeys(1100)) != 1100)
        return QStringLiteral("the 1100-colour sample does not count 1100 colours");
    if (auto f = expectFormat("1100 colours", withColourKeys(1100), ImageFileFormat::png)) return f;
    if (auto f = expectFormat("1101 colours", withColourKeys(1101), ImageFileFormat::jpeg)) return f;
    return std::nullopt;
}

} // namespace

std::vector<SelfCheck> saveChecks() {
    return {{QStringLiteral("format-flat-noise"), checkFlatAndNoise},
            {QStringLiteral("format-1100-boundary"), checkBoundary}};
}

} // namespace selfchecks
