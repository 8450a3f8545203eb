#include "platform/wayland/PortalBackends.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace portalbackends {
namespace {

QStringList listOf(const QString& value) {
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool madeFor(const Backend& backend, const QStringList& desktops) {
    return std::any_of(desktops.begin(), desktops.end(), [&](const QString& desktop) {
        return backend.useIn.contains(desktop, Qt::CaseInsensitive);
    });
}

QList<Backend> installedBackends() {
    const QByteArray dir = qgetenv("XDG_DESKTOP_PORTAL_DIR");
    const QDir folder(dir.isEmpty() ? QStringLiteral("/usr/share/xdg-desktop-portal/portals")
                                    : QFile::decodeName(dir));
    QList<Backend> backends;
    for (const QString& file : folder.entryList({QStringLiteral("*.portal")}, QDir::Files, QDir::Name)) {
        QFile f(folder.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) continue;
        if (auto backend = parse(file.chopped(7), f.readAll())) backends.append(*backend);
    }
    return backends;
}

// The folders where a portal of version 1.17 or later looks for portals.conf files.
QStringList configFolders() {
    QStringList folders;
    for (const QString& config : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        folders << config + QStringLiteral("/xdg-desktop-portal");
    return folders << QStringLiteral("/etc/xdg-desktop-portal")
                   << QStringLiteral("/usr/share/xdg-desktop-portal");
}

bool backendsChosenByConfiguration() {
    const QStringList folders = configFolders();
    return std::any_of(folders.begin(), folders.end(), [](const QString& folder) {
        return !QDir(folder).entryList({QStringLiteral("*portals.conf")}, QDir::Files).isEmpty();
    });
}

} // namespace

std::optional<Backend> parse(const QString& name, const QByteArray& text) {
    Backend backend{name, {}, {}};
    bool inPortal = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) inPortal = line == QLatin1String("[portal]");
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inPortal || equals < 0) continue;
        const QString key = line.left(equals).trimmed(), value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Interfaces")) backend.interfaces = listOf(value);
        if (key == QLatin1String("UseIn")) backend.useIn = listOf(value);
    }
    if (backend.interfaces.isEmpty()) return std::nullopt;
    return backend;
}

std::optional<QString> foreignProvider(const QList<Backend>& backends, const QString& interface,
                                       const QStringList& desktops) {
    if (desktops.isEmpty()) return std::nullopt;
    std::optional<QString> foreign;
    for (const Backend& backend : backends) {
        if (!backend.interfaces.contains(interface)) continue;
        if (madeFor(backend, desktops)) return std::nullopt;
        if (!foreign) foreign = backend.name;
    }
    return foreign;
}

std::optional<QString> foreignProviderHere(const QString& interface) {
    const QStringList desktops = listOf(
        QString::fromLocal8Bit(qgetenv("XDG_CURRENT_DESKTOP")).replace(QLatin1Char(':'), QLatin1Char(';')));
    if (desktops.isEmpty() || backendsChosenByConfiguration()) return std::nullopt;
    return foreignProvider(installedBackends(), interface, desktops);
}

} // namespace portalbackends
