#include "save/ExclusiveFile.h"

#include <QFile>

#include <cerrno>
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

} // namespace

Outcome write(const QString& path, const QByteArray& bytes) {
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EEXIST) return {Status::exists, {}};
        return {Status::failed, describe(path, errno)};
    }
    int error = 0;
    bool ok = writeAll(fd, bytes.constData(), bytes.size(), error);
    if (ok && ::fsync(fd) != 0 && errno != EINVAL) {
        // EINVAL: a file system that cannot sync (some special ones); the data is written anyway.
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok && errno != EINTR) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(native.constData());
        return {Status::failed, describe(path, error)};
    }
    return {Status::written, {}};
}

} // namespace exclusivefile
