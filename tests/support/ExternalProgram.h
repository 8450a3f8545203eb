#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Every program a test starts goes through here, so a missing one fails the test with one line
// that says what to install instead of as a timeout far from the cause.
namespace testsupport {

// Where the program would be started from: an absolute path as it is, a bare name through PATH.
// Empty when it is not there.
QString findProgram(const QString& program);

// Fails the current test with "NAME is not installed: scripts/install-deps must install it" and
// returns false when the program cannot be found.
bool requireProgram(const QString& program);

// Starts `process` after requireProgram(); false (the test failed) when it did not start.
bool startProgram(QProcess& process, const QString& program, const QStringList& args = {});

struct ProgramRun {
    bool finished = false; // ran to its end within the time given
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    bool ok() const { return finished && exitCode == 0; }
    QString text() const { return QString::fromUtf8(out).trimmed(); }
};

// Runs a program to its end, at most `timeoutMs` (scaled), spinning this process's event loop
// meanwhile so that it keeps answering the program (the clipboard it owns, its windows).
ProgramRun runProgram(const QString& program, const QStringList& args, int timeoutMs = 10000);

} // namespace testsupport
