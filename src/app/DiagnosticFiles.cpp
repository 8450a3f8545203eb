#include "app/DiagnosticFiles.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace diagnostics {

QString timestamp(const QDateTime& when) {
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

QString launchStatusText(qint64 pid, bool screenRecording, bool accessibility, const QDateTime& when) {
    auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    return QStringLiteral("pid=%1\nscreenRecording=%2\naccessibility=%3\nlaunchedAt=%4")
        .arg(pid)
        .arg(flag(screenRecording), flag(accessibility), timestamp(when));
}

QString eventLine(const QString& message, const QDateTime& when) {
    QString oneLine = message;
    oneLine.replace(QLatin1Char('\n'), QLatin1String("%0A")).replace(QLatin1Char('\r'), QLatin1String("%0D"));
    return timestamp(when) + QLatin1Char(' ') + oneLine + QLatin1Char('\n');
}

QString supportFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pictro");
}

bool writeLaunchStatus(const QString& folder, const QString& text) {
    QDir().mkpath(folder);
    QSaveFile file(folder + QStringLiteral("/status.txt"));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool appendEventLine(const QString& folder, const QString& line) {
    if (!QFileInfo(folder).isDir()) return false;
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/events.log"));
    // A link planted at the name is not followed, and nothing but a plain file is written to: a
    // FIFO there would otherwise hold every capture until someone read it.
    const int fd =
        ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const QByteArray bytes = line.toUtf8();
    const ssize_t written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    return written == bytes.size();
}

} // namespace diagnostics
