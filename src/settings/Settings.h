#pragma once

#include "settings/HotkeyAction.h"
#include "settings/SettingsEnums.h"

#include <QColor>
#include <QObject>
#include <QRectF>
#include <QVariant>

#include <memory>
#include <mutex>
#include <optional>

class QSettings;

// The persistent settings: an INI file at $XDG_CONFIG_HOME/Pictro/Pictro.conf (keys under
// [General]) plus a registration domain of defaults that lives only in memory. Every typed
// getter falls back to a fixed value on absent or malformed text, so a damaged file never
// fails a caller. A file that cannot be read, or is damaged, is told in one line when the store is
// made; a damaged one is copied aside (Pictro.conf.damaged-<time>) before it is first rewritten, as
// the rewrite leaves out the lines that could not be read. Safe to read from any thread.
class Settings : public QObject {
    Q_OBJECT
  public:
    static Settings& shared();
    // A store over a file of one's own (tests, tools).
    explicit Settings(const QString& filePath, QObject* parent = nullptr);
    ~Settings() override;

    static QString defaultFilePath();

    // Registers the 25 defaults; done once at start, before anything reads a setting.
    static void registerDefaults();

    // The stored value, else the registered default, else an invalid variant.
    QVariant value(const QString& key) const;
    bool isStored(const QString& key) const;
    // Writes at once and raises `changed`.
    void set(const QString& key, const QVariant& value);
    void remove(const QString& key);

    bool boolValue(const QString& key) const;
    qint64 intValue(const QString& key) const;
    double doubleValue(const QString& key) const;
    // Text of the value; empty when absent.
    QString stringValue(const QString& key) const;

    WindowBGStyle windowBGStyle() const;
    SaveFormat saveFormat() const;
    AfterCropShow afterCropShow() const;
    HidePreviewMode hidePreviewMode() const;
    OCRLanguage ocrLanguage() const;
    ConfirmationStyle confirmationStyle() const;
    QColor windowBGColor() const;
    QString screenshotsFolder() const;

    std::optional<QRectF> lastAreaRect() const;
    void setLastAreaRect(const std::optional<QRectF>& rect);

    // The effective binding: stored combo, explicitly unbound (""), or the built-in default.
    std::optional<KeyCombo> combo(HotkeyAction action) const;

  signals:
    void changed(const QString& key);
    // A write could not reach the file (read-only, a directory in its place, a full disk). The value
    // is kept in memory for this run; the diagnostic line is written once per run.
    void storeFailed(const QString& key);

  private:
    std::optional<QVariant> stored(const QString& key) const;

    // Writes the store out; false when it could not be written.
    bool syncLocked();
    // One line when the file exists but cannot be read, or is damaged.
    void tellLoadProblem();

    mutable std::mutex m_mutex;
    bool m_failureSaid = false;
    QString m_damagedCopy; // where a damaged file is copied before it is first written, until then
    std::unique_ptr<QSettings> m_store;
};

namespace settingsformat {
// Shortest decimal text that reads back to the same double, always with a fractional part.
QString number(double value);
// "x,y,w,h" of the rectangle with its size made non-negative.
QString rectText(const QRectF& rect);
// Four numbers split at ",", empty or non-numeric pieces dropped; anything else gives none, and
// so does a number that is not finite or lies beyond ±maxRectCoordinate (no screen is that far out,
// and the pixel arithmetic of a crop must stay within int).
inline constexpr double maxRectCoordinate = 1 << 24;
std::optional<QRectF> parseRect(const QString& text);
// A Boolean from stored text ("true"/"false"/"1"/"0", any case); none for anything else.
std::optional<bool> parseBool(const QVariant& value);
} // namespace settingsformat
