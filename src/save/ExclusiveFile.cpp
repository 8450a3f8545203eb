#include "save/ExclusiveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace exclusivefile {
namespace {

QString describe(const QString& path, int error) {
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

bool writeAll(int fd, const char* data, qsizetype size, int& error) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

int openRetrying(const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The written bytes before they have a name. An unnamed file vanishes with its descriptor; a
// named one is removed here unless it was published.
class PendingFile {
  public:
    ~PendingFile() {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_tempPath.isEmpty()) ::unlink(m_tempPath.constData());
    }

    // Creates the file in `folder`; on failure answers the errno.
    int create(const QString& folder) {
        const QByteArray dir = QFile::encodeName(folder);
        m_fd = openRetrying(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd >= 0) return 0;
        // Some file systems cannot hold unnamed files: a hidden name no capture ever takes.
        for (int tries = 0; tries < 16; ++tries) {
            const QByteArray candidate = dir + "/.pictro-" +
                                         QByteArray::number(QRandomGenerator::global()->generate64(), 36) +
                                         ".part";
            m_fd = openRetrying(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_tempPath = candidate;
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        return EEXIST;
    }

    // Writes and syncs; answers the errno of the first failure, 0 on success.
    int fill(const QByteArray& bytes) {
        int error = 0;
        if (!writeAll(m_fd, bytes.constData(), bytes.size(), error)) return error;
        // EINVAL: a file system that cannot sync (some special ones); the data is written anyway.
        if (::fsync(m_fd) != 0 && errno != EINVAL) return errno;
        return 0;
    }

    // Gives the file the name `path` unless something has it already: 0, EEXIST or another errno.
    int publish(const QByteArray& path) {
        if (m_tempPath.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) != 0)
                return errno;
            return 0;
        }
        if (::renameat2(AT_FDCWD, m_tempPath.constData(), AT_FDCWD, path.constData(), RENAME_NOREPLACE) ==
            0) {
            m_tempPath.clear();
            return 0;
        }
        if (errno != EINVAL && errno != ENOSYS) return errno;
        // No atomic no-replace rename here: a hard link fails on an existing name just as well.
        if (::link(m_tempPath.constData(), path.constData()) != 0) return errno;
        ::unlink(m_tempPath.constData());
        m_tempPath.clear();
        return 0;
    }

  private:
    int m_fd = -1;
    QByteArray m_tempPath;
};

// The file's data was synced before it was named; syncing the folder makes the name last too, so
// a crash right after a save cannot leave the capture's bytes on disk without a name. Best effort:
// the file is there either way, and a folder that cannot be synced (some network and special file
// systems) is no reason to report the save as failed.
void syncFolder(const QString& folder) {
    const int fd = openRetrying(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

Outcome write(const QString& folder, const QByteArray& bytes, const NameForAttempt& name, int attempts) {
    PendingFile file;
    if (const int error = file.create(folder)) return {Status::failed, describe(folder, error), {}};
    if (const int error = file.fill(bytes)) return {Status::failed, describe(folder, error), {}};
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        const QString path = QDir(folder).filePath(name(attempt));
        const int error = file.publish(QFile::encodeName(path));
        if (error == 0) {
            syncFolder(folder);
            return {Status::written, {}, path};
        }
        if (error != EEXIST) return {Status::failed, describe(path, error), {}};
    }
    return {Status::exists, {}, {}};
}

Outcome write(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    return write(
        info.path(), bytes, [&fileName](int) { return fileName; }, 1);
}

} // namespace exclusivefile
