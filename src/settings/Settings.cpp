#include "settings/Settings.h"

#include "platform/Log.h"
#include "settings/HexColor.h"
#include "settings/SettingsKeys.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

#include <charconv>
#include <cmath>

namespace {

QHash<QString, QVariant>& registrationDomain() {
    static QHash<QString, QVariant> domain;
    return domain;
}

std::mutex& registrationMutex() {
    static std::mutex m;
    return m;
}

// A store over the file, read through: the file's lines are parsed, and a damaged one known as such
// (its status), on the first look at a key rather than when the store is made.
std::unique_ptr<QSettings> openStore(const QString& path) {
    auto store = std::make_unique<QSettings>(path, QSettings::IniFormat);
    (void)store->allKeys();
    return store;
}

QString textOf(const QVariant& v) {
    // An unquoted "1,2,3,4" in a hand-edited INI file reads back as a list.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

} // namespace

namespace settingsformat {

QString number(double value) {
    if (!std::isfinite(value)) return QString::number(value);
    char buffer[64];
    const bool plain = value == 0.0 || (std::fabs(value) >= 1e-4 && std::fabs(value) < 1e16);
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e'))) text += QStringLiteral(".0");
    return text;
}

QString rectText(const QRectF& rect) {
    const QRectF r = rect.normalized();
    return QStringList{number(r.x()), number(r.y()), number(r.width()), number(r.height())}.join(
        QLatin1Char(','));
}

std::optional<QRectF> parseRect(const QString& text) {
    QList<double> numbers;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QByteArray bytes = piece.toLatin1();
        const char* begin = bytes.constData();
        if (*begin == '+') ++begin;
        double v = 0;
        const auto [ptr, ec] = std::from_chars(begin, bytes.constData() + bytes.size(), v);
        if (ec == std::errc() && ptr == bytes.constData() + bytes.size() && piece.size() == bytes.size())
            numbers.append(v);
    }
    if (numbers.size() != 4) return std::nullopt;
    for (double v : numbers)
        if (!std::isfinite(v) || std::abs(v) > maxRectCoordinate) return std::nullopt;
    if (std::abs(numbers[0] + numbers[2]) > maxRectCoordinate ||
        std::abs(numbers[1] + numbers[3]) > maxRectCoordinate)
        return std::nullopt;
    return QRectF(numbers[0], numbers[1], numbers[2], numbers[3]);
}

std::optional<bool> parseBool(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    const QString t = textOf(value).trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1")) return true;
    if (t == QLatin1String("false") || t == QLatin1String("0")) return false;
    return std::nullopt;
}

} // namespace settingsformat

Settings& Settings::shared() {
    static Settings instance(defaultFilePath());
    return instance;
}

QString Settings::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Pictro/Pictro.conf");
}

Settings::Settings(const QString& filePath, QObject* parent) : QObject(parent), m_store(openStore(filePath)) {
    tellLoadProblem();
}

void Settings::tellLoadProblem() {
    const QString file = m_store->fileName();
    switch (m_store->status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError:
        qCWarning(lcSettings, "settings file %s cannot be read; the defaults are used", qPrintable(file));
        break;
    case QSettings::FormatError:
        // What can be read is used. The next write would leave out the rest for good, so the file
        // as the user left it is copied aside before anything is written.
        m_damagedCopy = file + QStringLiteral(".damaged-") +
                        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        qCWarning(lcSettings,
                  "settings file %s is damaged; the lines that cannot be read are ignored, and the file is "
                  "kept as %s before a setting is next stored",
                  qPrintable(file), qPrintable(m_damagedCopy));
        break;
    }
}

Settings::~Settings() = default;

void Settings::registerDefaults() {
    std::lock_guard lock(registrationMutex());
    for (const auto& d : keys::registeredDefaults())
        registrationDomain().insert(QString::fromLatin1(d.key), d.value);
}

std::optional<QVariant> Settings::stored(const QString& key) const {
    std::lock_guard lock(m_mutex);
    if (!m_store->contains(key)) return std::nullopt;
    return m_store->value(key);
}

bool Settings::isStored(const QString& key) const {
    return stored(key).has_value();
}

QVariant Settings::value(const QString& key) const {
    if (auto v = stored(key)) return *v;
    std::lock_guard lock(registrationMutex());
    return registrationDomain().value(key);
}

bool Settings::syncLocked() {
    if (!m_damagedCopy.isEmpty() && QFile::copy(m_store->fileName(), m_damagedCopy)) m_damagedCopy.clear();
    m_store->sync();
    if (m_store->status() == QSettings::FormatError) {
        // A store keeps the format error of its first read even once it has written the file anew;
        // a fresh read tells whether the rewrite reached the file (a failed one leaves it damaged).
        auto fresh = openStore(m_store->fileName());
        if (fresh->status() == QSettings::NoError) m_store = std::move(fresh);
    }
    if (m_store->status() == QSettings::NoError) return true;
    if (!m_failureSaid) {
        m_failureSaid = true;
        qCWarning(lcSettings, "settings cannot be stored in %s; changes last until Pictro quits",
                  qPrintable(m_store->fileName()));
    }
    return false;
}

void Settings::set(const QString& key, const QVariant& value) {
    bool stored;
    {
        std::lock_guard lock(m_mutex);
        m_store->setValue(key, value);
        stored = syncLocked();
    }
    emit changed(key);
    if (!stored) emit storeFailed(key);
}

void Settings::remove(const QString& key) {
    bool stored;
    {
        std::lock_guard lock(m_mutex);
        m_store->remove(key);
        stored = syncLocked();
    }
    emit changed(key);
    if (!stored) emit storeFailed(key);
}

namespace {
QVariant registered(const QString& key) {
    std::lock_guard lock(registrationMutex());
    return registrationDomain().value(key);
}
} // namespace

bool Settings::boolValue(const QString& key) const {
    if (auto v = stored(key))
        if (auto b = settingsformat::parseBool(*v)) return *b;
    return settingsformat::parseBool(registered(key)).value_or(false);
}

qint64 Settings::intValue(const QString& key) const {
    bool ok = false;
    if (auto v = stored(key)) {
        const qint64 n = textOf(*v).trimmed().toLongLong(&ok);
        if (ok) return n;
    }
    const qint64 n = registered(key).toLongLong(&ok);
    return ok ? n : 0;
}

double Settings::doubleValue(const QString& key) const {
    bool ok = false;
    if (auto v = stored(key)) {
        const double d = textOf(*v).trimmed().toDouble(&ok);
        if (ok) return d;
    }
    const double d = registered(key).toDouble(&ok);
    return ok ? d : 0.0;
}

QString Settings::stringValue(const QString& key) const {
    const QVariant v = value(key);
    return v.isValid() ? textOf(v) : QString();
}

WindowBGStyle Settings::windowBGStyle() const {
    return windowBGStyleText.fromRawOrFallback(stringValue(keys::windowBGStyle));
}
SaveFormat Settings::saveFormat() const {
    return saveFormatText.fromRawOrFallback(stringValue(keys::saveFormat));
}
AfterCropShow Settings::afterCropShow() const {
    return afterCropShowText.fromRawOrFallback(stringValue(keys::afterCropShow));
}
HidePreviewMode Settings::hidePreviewMode() const {
    return hidePreviewModeText.fromRawOrFallback(stringValue(keys::hidePreviewMode));
}
OCRLanguage Settings::ocrLanguage() const {
    return ocrLanguageText.fromRawOrFallback(stringValue(keys::ocrLanguage));
}
ConfirmationStyle Settings::confirmationStyle() const {
    return confirmationStyleText.fromRawOrFallback(stringValue(keys::confirmationStyle));
}

QColor Settings::windowBGColor() const {
    const QVariant v = value(keys::windowBGColor);
    const QString text = v.isValid() ? textOf(v) : QStringLiteral("#FFFFFF");
    return hexcolor::parse(text).value_or(QColor::fromRgbF(1, 1, 1, 1));
}

QString Settings::screenshotsFolder() const {
    const QString stored = stringValue(keys::screenshotsFolder);
    if (!stored.isEmpty()) {
        if (stored == QLatin1String("~")) return QDir::homePath();
        if (stored.startsWith(QLatin1String("~/"))) return QDir::homePath() + stored.mid(1);
        return stored;
    }
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return desktop.isEmpty() ? QDir::homePath() : desktop;
}

std::optional<QRectF> Settings::lastAreaRect() const {
    const auto v = stored(keys::lastAreaRect);
    if (!v) return std::nullopt;
    return settingsformat::parseRect(textOf(*v));
}

void Settings::setLastAreaRect(const std::optional<QRectF>& rect) {
    if (rect)
        set(keys::lastAreaRect, settingsformat::rectText(*rect));
    else
        remove(keys::lastAreaRect);
}

std::optional<KeyCombo> Settings::combo(HotkeyAction action) const {
    const auto v = stored(hotkeyaction::settingsKey(action));
    if (!v) return hotkeyaction::defaultCombo(action);
    const QString text = textOf(*v);
    if (text.isEmpty()) return std::nullopt;
    return KeyCombo::fromEncoded(text);
}
