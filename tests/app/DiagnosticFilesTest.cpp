#include "app/DiagnosticFiles.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using testsupport::readFile;

namespace {

TEST(DiagnosticFormats, TimestampIsUtcWithAZeroOffset) {
    const QDateTime local(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone(3600 * 5));
    EXPECT_EQ(diagnostics::timestamp(local), QStringLiteral("2026-01-01 22:04:05 +0000"));
    const QDateTime utc(QDate(2026, 12, 31), QTime(23, 59, 59), QTimeZone::utc());
    EXPECT_EQ(diagnostics::timestamp(utc), QStringLiteral("2026-12-31 23:59:59 +0000"));
}

TEST(DiagnosticFormats, LaunchStatusHasFourLinesAndNoFinalLineFeed) {
    const QDateTime when(QDate(2026, 12, 8), QTime(6, 30, 0), QTimeZone::utc());
    EXPECT_EQ(
        diagnostics::launchStatusText(4242, true, false, when),
        QStringLiteral(
            "pid=4242\nscreenRecording=true\naccessibility=false\nlaunchedAt=2026-12-08 06:30:00 +0000"));
}

TEST(DiagnosticFormats, EventLineIsAlwaysOneLine) {
    const QDateTime when(QDate(2026, 12, 8), QTime(6, 30, 0), QTimeZone::utc());
    EXPECT_EQ(diagnostics::eventLine(QStringLiteral("capture source=area px=1200x800"), when),
              QStringLiteral("2026-12-08 06:30:00 +0000 capture source=area px=1200x800\n"));
    const QString line = diagnostics::eventLine(QStringLiteral("url-handled a\nb\rc"), when);
    EXPECT_EQ(line.count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(line.contains(QLatin1Char('\r')));
    EXPECT_TRUE(line.endsWith(QStringLiteral("a%0Ab%0Dc\n")));
}

TEST(DiagnosticFiles, StatusIsReplacedWholeAndTheFolderCreated) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("deep/Pictro"));
    ASSERT_TRUE(
        diagnostics::writeLaunchStatus(folder, QStringLiteral("first, and much longer than the second")));
    ASSERT_TRUE(diagnostics::writeLaunchStatus(folder, QStringLiteral("second")));
    EXPECT_EQ(readFile(folder + QStringLiteral("/status.txt")), QStringLiteral("second"));
}

TEST(DiagnosticFiles, FailuresAreReportedNotThrown) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    // A file where the folder should be: nothing can be written below it.
    EXPECT_FALSE(diagnostics::writeLaunchStatus(blocker + QStringLiteral("/Pictro"), QStringLiteral("x")));
    EXPECT_FALSE(diagnostics::appendEventLine(blocker + QStringLiteral("/Pictro"), QStringLiteral("x\n")));
    // The log never creates its folder.
    EXPECT_FALSE(
        diagnostics::appendEventLine(dir.filePath(QStringLiteral("missing")), QStringLiteral("x\n")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

TEST(DiagnosticFiles, FirstEventCreatesTheLogAndLaterOnesAppend) {
    QTemporaryDir dir;
    ASSERT_TRUE(diagnostics::appendEventLine(dir.path(), QStringLiteral("one\n")));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("events.log"))), QStringLiteral("one\n"));
    ASSERT_TRUE(diagnostics::appendEventLine(dir.path(), QStringLiteral("two\n")));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("events.log"))), QStringLiteral("one\ntwo\n"));
}

TEST(DiagnosticFiles, TheLogNeverWritesThroughALinkOrIntoAPipe) {
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("victim"));
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("untouched");
    f.close();
    const QString linked = dir.filePath(QStringLiteral("linked"));
    ASSERT_TRUE(QDir().mkpath(linked));
    ASSERT_TRUE(QFile::link(victim, linked + QStringLiteral("/events.log")));
    EXPECT_FALSE(diagnostics::appendEventLine(linked, QStringLiteral("capture\n")));
    EXPECT_EQ(readFile(victim), QStringLiteral("untouched"));

    const QString piped = dir.filePath(QStringLiteral("piped"));
    ASSERT_TRUE(QDir().mkpath(piped));
    ASSERT_EQ(::mkfifo(QFile::encodeName(piped + QStringLiteral("/events.log")).constData(), 0600), 0);
    EXPECT_FALSE(diagnostics::appendEventLine(piped, QStringLiteral("capture\n"))); // and returns at once
}

TEST(DiagnosticFiles, TwoProcessesNeverInterleaveALine) {
    QTemporaryDir dir;
    const QString a = QString(3000, QLatin1Char('a')) + QLatin1Char('\n');
    const QString b = QString(3000, QLatin1Char('b')) + QLatin1Char('\n');
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const QString& mine = child == 0 ? a : b;
    for (int i = 0; i < 300; ++i)
        diagnostics::appendEventLine(dir.path(), mine);
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    const QStringList lines =
        readFile(dir.filePath(QStringLiteral("events.log"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 600);
    for (const QString& line : lines)
        ASSERT_TRUE(line == a.trimmed() || line == b.trimmed());
}

} // namespace
