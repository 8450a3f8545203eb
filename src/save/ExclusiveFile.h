#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Writes a new file that did not exist before, or nothing at all.
//
// The bytes go to a file without a name (or, where the file system cannot make one, a hidden
// temporary name) in the target folder first, and are synced. Only a complete file is then given
// its final name, and never in place of an existing one. So a process killed part-way, a size
// limit or a full disk never leave a cut-off image under a name that looks like a capture.
namespace exclusivefile {

enum class Status {
    written, // the file was created by this call and holds every byte, flushed to the disk
    exists,  // every name offered was taken; nothing was touched
    failed,  // nothing is left behind; `error` says why
};

struct Outcome {
    Status status = Status::failed;
    QString error;
    QString path; // the name the file was published under, when written
};

// Candidate names for the one file, asked for in order: `name(1)`, `name(2)`, … up to `attempts`.
using NameForAttempt = std::function<QString(int attempt)>;

// Writes `bytes` once in `folder`, then publishes them under the first candidate name that is free.
Outcome write(const QString& folder, const QByteArray& bytes, const NameForAttempt& name, int attempts);

// The same for one name.
Outcome write(const QString& path, const QByteArray& bytes);

} // namespace exclusivefile
