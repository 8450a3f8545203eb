#pragma once

#include <QByteArray>
#include <QString>

// Writes a new file that did not exist before, or nothing at all.
namespace exclusivefile {

enum class Status {
    written,  // the file was created by this call and holds every byte, flushed to the disk
    exists,   // something already has that name; it was not touched
    failed,   // nothing is left behind; `error` says why
};

struct Outcome {
    Status status = Status::failed;
    QString error;
};

// Creates `path` exclusively (no other writer, in this program or another, can have it at the same
// moment), writes `bytes` and syncs them. On any failure after the create the file is removed, so
// a full disk never leaves a truncated image.
Outcome write(const QString& path, const QByteArray& bytes);

} // namespace exclusivefile
