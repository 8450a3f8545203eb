#include "save/SaveService.h"

#include "platform/Log.h"
#include "platform/Pasteboard.h"
#include "platform/Platform.h"
#include "platform/TimingMarks.h"
#include "save/ExclusiveFile.h"
#include "save/FormatDecision.h"
#include "save/ImageEncoding.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QDir>

#include <cstdio>

namespace {
void logFailure(const QString& error) {
    qCWarning(lcSave, "save failed: %s", qPrintable(error));
}
} // namespace

SaveService& SaveService::shared() {
    static SaveService instance(Settings::shared());
    return instance;
}

SaveService::SaveService(Settings& settings, Pasteboard* pasteboard, Clock clock)
    : m_settings(settings), m_pasteboard(pasteboard), m_clock(std::move(clock)) {}

QDateTime SaveService::now() const {
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

Pasteboard& SaveService::pasteboard() const {
    return m_pasteboard ? *m_pasteboard : Platform::current().pasteboard();
}

CapturedImage SaveService::prepared(const CapturedImage& image) const {
    return m_settings.boolValue(keys::downscaleRetina) ? image.downscaledTo1x() : image;
}

ImageFileFormat SaveService::decideFormat(const QImage& image, SaveFormat setting) {
    return formatdecision::decide(image, setting);
}

ImageFileFormat SaveService::decideFormat(const QImage& image) const {
    return decideFormat(image, m_settings.saveFormat());
}

std::optional<QByteArray> SaveService::data(const QImage& image, ImageFileFormat format) {
    return imageencoding::encode(image, format);
}

QString SaveService::fileName(const QDateTime& time, int number, ImageFileFormat format) {
    QString name = QStringLiteral("Pictro ") + time.toString(QStringLiteral("yyyy-MM-dd 'at' HH.mm.ss"));
    if (number >= 2) name += QStringLiteral(" (%1)").arg(number);
    return name + QLatin1Char('.') + fileExtension(format);
}

std::optional<QByteArray> SaveService::encoded(const CapturedImage& image, ImageFileFormat format,
                                               SharedPng* png) {
    if (format != ImageFileFormat::png || !png)
        return imageencoding::encode(image.image, format, image.scale);
    if (!png->bytes) png->bytes = imageencoding::encode(image.image, format, image.scale);
    return png->bytes;
}

std::optional<QString> SaveService::save(const CapturedImage& input, SharedPng* png) const {
    const CapturedImage image = prepared(input);
    if (image.image.isNull()) return std::nullopt;
    ImageFileFormat format = decideFormat(image.image);
    timingmarks::mark("save: format decided");
    auto bytes = encoded(image, format, png);
    if (!bytes && format == ImageFileFormat::jpeg) {
        // JPEG holds no side beyond 65,500 pixels (a long scrolling capture): lossless beats unsaved.
        format = ImageFileFormat::png;
        bytes = encoded(image, format, png);
    }
    if (!bytes) {
        logFailure(QStringLiteral("the image could not be encoded"));
        return std::nullopt;
    }
    timingmarks::mark("save: encoded");

    const QString folder = m_settings.screenshotsFolder();
    QDir().mkpath(folder); // a failure shows in the write below
    // The clock is read for every candidate, so a name never lies about when it was made.
    const auto outcome = exclusivefile::write(
        folder, *bytes, [&](int n) { return fileName(now(), n, format); }, maxNameAttempts);
    switch (outcome.status) {
    case exclusivefile::Status::written:
        timingmarks::mark("save: written");
        return outcome.path;
    case exclusivefile::Status::exists:
        logFailure(QStringLiteral("%1: no free file name").arg(folder));
        break;
    case exclusivefile::Status::failed:
        logFailure(outcome.error);
        break;
    }
    return std::nullopt;
}

void SaveService::copyToClipboard(const CapturedImage& input, SharedPng* png) const {
    const CapturedImage image = prepared(input);
    if (image.image.isNull()) return;
    Pasteboard& board = pasteboard();
    board.clear();
    if (const auto bytes = encoded(image, ImageFileFormat::png, png)) board.setPngData(*bytes);
    board.writeImage(imageencoding::withPointSize(image.image, image.scale));
}
