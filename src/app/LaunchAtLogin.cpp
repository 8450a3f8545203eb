#include "app/LaunchAtLogin.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>

namespace launchatlogin {
namespace {

void fail(const QString& why) {
    qCWarning(lcApp, "launch-at-login failed: %s", qPrintable(why));
}

// Quoting of an Exec argument as desktop entries want it.
QString quoted(const QString& path) {
    QString escaped = path;
    for (const char* c : {"\\", "\"", "`", "$"})
        escaped.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/pictro.desktop");
}

bool isEnabled() {
    QFile f(entryPath());
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QString text = QString::fromUtf8(f.readAll());
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString l = line.trimmed();
        if (l == QLatin1String("Hidden=true") || l == QLatin1String("X-GNOME-Autostart-enabled=false"))
            return false;
    }
    return true;
}

bool set(bool enabled, const QString& executable) {
    const QString path = entryPath();
    if (!enabled) {
        if (QFile::exists(path) && !QFile::remove(path)) {
            fail(QStringLiteral("cannot remove %1").arg(path));
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        fail(QStringLiteral("cannot create %1").arg(QFileInfo(path).path()));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(file.errorString());
        return false;
    }
    const QString entry =
        QStringLiteral(
            "[Desktop Entry]\nType=Application\nName=Pictro\nComment=Screenshot tool in the system tray\n"
            "Exec=%1\nIcon=pictro\nTerminal=false\nX-GNOME-Autostart-enabled=true\n")
            .arg(quoted(executable));
    file.write(entry.toUtf8());
    if (!file.commit()) {
        fail(file.errorString());
        return false;
    }
    return true;
}

} // namespace launchatlogin
