#pragma once

#include <QDateTime>
#include <QString>

// The two diagnostic files in the per-user data folder "Pictro": "status.txt", rewritten at
// every launch, and "events.log", one line per event, never truncated. Both are best effort.
namespace diagnostics {

// "yyyy-MM-dd HH:mm:ss +0000" in UTC.
QString timestamp(const QDateTime& when);

// Four lines joined by "\n", without a final line feed.
QString launchStatusText(qint64 pid, bool screenRecording, bool accessibility, const QDateTime& when);

// Timestamp, a space, the message and "\n". Line breaks inside the message are written as %0A/%0D
// so one event is always one line.
QString eventLine(const QString& message, const QDateTime& when);

// $XDG_DATA_HOME/Pictro (the folder need not exist).
QString supportFolder();

// Creates the folder with its parents and replaces status.txt atomically; false on any failure.
bool writeLaunchStatus(const QString& folder, const QString& text);

// Appends the line to events.log with one write, so lines of two processes never interleave.
// The folder is not created here. False on any failure.
bool appendEventLine(const QString& folder, const QString& line);

} // namespace diagnostics
