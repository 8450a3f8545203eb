#pragma once

#include "capture/CapturedImage.h"
#include "save/ImageFileFormat.h"
#include "settings/SettingsEnums.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class Settings;
class Pasteboard;

// Captures into files in the screenshots folder and onto the clipboard. Holds no state of its
// own beyond where it reads settings, the clock and the clipboard from. Main thread only.
//
// Files are named "Pictro yyyy-MM-dd at HH.mm.ss.png" (or .jpg) in local time, with " (2)",
// " (3)"… before the extension when the name is taken; a name is taken by creating the file
// exclusively, so no file is ever overwritten, not even one another program creates at the same
// moment.
class SaveService {
  public:
    using Clock = std::function<QDateTime()>;

    // One capture's PNG, made by whichever of copy and save needs it first and taken as it is by
    // the other, so a capture both copied and saved as PNG is encoded once. Holds the PNG of one
    // image: the caller keeps one for a single capture's handling.
    struct SharedPng {
        std::optional<QByteArray> bytes;
    };

    static SaveService& shared();

    // Settings, clipboard and clock of one's own (tests). A null pasteboard means the platform's;
    // a null clock the system's local time.
    explicit SaveService(Settings& settings, Pasteboard* pasteboard = nullptr, Clock clock = {});

    // Writes the image and returns the file's path; none when nothing was written (a failure to
    // write is logged as "Pictro: save failed: …").
    std::optional<QString> save(const CapturedImage& image, SharedPng* png = nullptr) const;

    // Replaces the clipboard's contents: PNG bytes, then the image object, both recording the size
    // in points.
    void copyToClipboard(const CapturedImage& image, SharedPng* png = nullptr) const;

    // The format `save` uses for an image under the current settings.
    ImageFileFormat decideFormat(const QImage& image) const;
    static ImageFileFormat decideFormat(const QImage& image, SaveFormat setting);

    // Encoded bytes, none when encoding fails.
    static std::optional<QByteArray> data(const QImage& image, ImageFileFormat format);

    // The file name for a time and a collision number (1 = the plain name).
    static QString fileName(const QDateTime& time, int number, ImageFileFormat format);

    // Names tried before giving up: far more than one second could ever produce.
    static constexpr int maxNameAttempts = 10000;

  private:
    CapturedImage prepared(const CapturedImage& image) const;
    static std::optional<QByteArray> encoded(const CapturedImage& prepared, ImageFileFormat format,
                                             SharedPng* png);
    Pasteboard& pasteboard() const;
    QDateTime now() const;

    Settings& m_settings;
    Pasteboard* m_pasteboard;
    Clock m_clock;
};
