// Starts the real program on the private X server of this test and checks what it leaves behind.
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstring>

using testsupport::readFile;
using testsupport::waitUntil;

namespace {

QString binary() {
    return qEnvironmentVariable("PICTRO_BINARY");
}

class Launch : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(binary().isEmpty()) << "PICTRO_BINARY is not set"; }

    QProcessEnvironment environment(bool withDisplay = true) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!withDisplay) env.remove(QStringLiteral("DISPLAY"));
        return env;
    }
    QString statusPath() const { return home.filePath(QStringLiteral("data/Pictro/status.txt")); }

    // Runs to completion; returns exit code, standard output and standard error.
    struct Run {
        int exitCode;
        QString out;
        QString err;
    };
    Run runToEnd(const QStringList& args, bool withDisplay = true) const {
        QProcess p;
        p.setProcessEnvironment(environment(withDisplay));
        if (!testsupport::startProgram(p, binary(), args)) return {-1, {}, {}};
        p.waitForFinished(testsupport::scaled(30000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QTemporaryDir home;
};

TEST_F(Launch, WritesTheStatusFileAndRewritesItOnTheNextLaunch) {
    qint64 previousPid = 0;
    for (int launch = 0; launch < 2; ++launch) {
        QFile::remove(statusPath() + QStringLiteral(".seen"));
        QProcess p;
        p.setProcessEnvironment(environment());
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        ASSERT_TRUE(testsupport::startProgram(p, binary()));
        ASSERT_TRUE(waitUntil(
            [&] { return readFile(statusPath()).contains(QStringLiteral("pid=%1\n").arg(p.processId())); },
            30000))
            << "status.txt of launch " << launch << ": " << readFile(statusPath()).toStdString()
            << "\nstderr: " << p.readAllStandardError().toStdString();
        const QStringList lines = readFile(statusPath()).split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 4);
        EXPECT_EQ(lines[1], QStringLiteral("screenRecording=true"));
        EXPECT_EQ(lines[2], QStringLiteral("accessibility=true"));
        ASSERT_TRUE(lines[3].startsWith(QStringLiteral("launchedAt=")));
        EXPECT_TRUE(lines[3].endsWith(QStringLiteral(" +0000")));
        const QDateTime stamp =
            QDateTime::fromString(lines[3].mid(11, 19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QDateTime utcStamp(stamp.date(), stamp.time(), QTimeZone::utc());
        EXPECT_GE(utcStamp, before.addSecs(-1));
        EXPECT_LE(utcStamp, QDateTime::currentDateTimeUtc().addSecs(1));
        EXPECT_NE(p.processId(), previousPid);
        previousPid = p.processId();
        EXPECT_FALSE(readFile(statusPath()).endsWith(QLatin1Char('\n')));
        p.terminate();
        ASSERT_TRUE(p.waitForFinished(testsupport::scaled(10000)));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "SIGTERM ends the program through its event loop";
        EXPECT_EQ(p.exitCode(), 0);
    }
}

TEST_F(Launch, PermissionReportPrintsTwoLines) {
    const Run granted = runToEnd({QStringLiteral("--check-permissions")});
    EXPECT_EQ(granted.exitCode, 0);
    EXPECT_EQ(granted.out, QStringLiteral("screen-recording: granted\naccessibility: granted\n"));
    const Run refused = runToEnd({QStringLiteral("--check-permissions")}, false);
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.out, QStringLiteral("screen-recording: NOT granted\naccessibility: NOT granted\n"));
    EXPECT_FALSE(QFile::exists(statusPath())) << "no application starts in this mode";
}

TEST_F(Launch, WithoutADisplayTheTrayApplicationSaysWhyAndFails) {
    const Run run = runToEnd({}, false);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Pictro: "))) << run.err.toStdString();
}

TEST_F(Launch, SelfTestWinsOverThePermissionReportAndNeedsNoDisplay) {
    const QString out = home.filePath(QStringLiteral("selftest"));
    const Run run =
        runToEnd({QStringLiteral("--selftest"), out, QStringLiteral("--check-permissions")}, false);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("screen-recording")));
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("ok ")));
    EXPECT_FALSE(run.out.contains(QStringLiteral("FAIL")));
    EXPECT_TRUE(QFileInfo(out).isDir());
}

struct NoDisplayCase {
    const char* name;
    QStringList arguments;
    int exitCode;
    const char* outStart;
    const char* errStart;
};

class CommandLineWithoutDisplay : public Launch, public ::testing::WithParamInterface<NoDisplayCase> {};

// Help, version and mistakes are answered without a display and without starting the tray program.
TEST_P(CommandLineWithoutDisplay, AnswersAndExits) {
    const NoDisplayCase& c = GetParam();
    const Run run = runToEnd(c.arguments, false);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    // What is printed starts as given; nothing is printed where nothing is given.
    EXPECT_EQ(run.out.left(int(std::strlen(c.outStart))), QString::fromUtf8(c.outStart))
        << run.out.toStdString();
    EXPECT_EQ(run.err.left(int(std::strlen(c.errStart))), QString::fromUtf8(c.errStart))
        << run.err.toStdString();
    EXPECT_EQ(run.out.isEmpty(), !*c.outStart);
    EXPECT_EQ(run.err.isEmpty(), !*c.errStart);
    EXPECT_LE(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(statusPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLineWithoutDisplay,
    ::testing::Values(NoDisplayCase{"help", {QStringLiteral("--help")}, 0, "Usage: pictro [OPTION]...", ""},
                      NoDisplayCase{"version", {QStringLiteral("--version")}, 0, "Pictro 0.", ""},
                      NoDisplayCase{
                          "unknownAction",
                          {QStringLiteral("--action"), QStringLiteral("everything")},
                          2,
                          "",
                          "Pictro: unknown action \"everything\"; the actions are: fullscreen, area,"},
                      NoDisplayCase{"unknownOption",
                                    {QStringLiteral("--capture")},
                                    2,
                                    "",
                                    "Pictro: unknown option \"--capture\"; the options are: --action NAME,"}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs the program until `body` returns, then stops it through SIGTERM.
template <typename Body>
void whileRunning(const QProcessEnvironment& env, const QString& statusPath, Body body) {
    QProcess p;
    p.setProcessEnvironment(env);
    ASSERT_TRUE(testsupport::startProgram(p, binary()));
    ASSERT_TRUE(waitUntil(
        [&] { return readFile(statusPath).contains(QStringLiteral("pid=%1\n").arg(p.processId())); }, 30000));
    body();
    p.terminate();
    p.waitForFinished(testsupport::scaled(10000));
}

TEST_F(Launch, LinksFromASecondLaunchAreHandledByTheRunningInstance) {
    const QString log = home.filePath(QStringLiteral("data/Pictro/events.log"));
    QDir().mkpath(home.filePath(QStringLiteral("config/Pictro")));
    QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nurlSchemeEnabled=true\nnoSplash=true\n");
    conf.close();
    for (int launch = 1; launch <= 2; ++launch) {
        whileRunning(environment(), statusPath(), [&] {
            const Run second = runToEnd({QStringLiteral("pictro://nothing-here?launch=%1").arg(launch)});
            EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
            ASSERT_TRUE(waitUntil([&] { return readFile(log).count(QLatin1Char('\n')) == launch; }))
                << readFile(log).toStdString();
        });
    }
    // One line per handled link, across launches.
    const QStringList lines = readFile(log).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" url-handled pictro://nothing-here?launch=1")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" url-handled pictro://nothing-here?launch=2")));
}

TEST_F(Launch, WithTheSchemeDisabledForwardedLinksAreNotLogged) {
    const QString log = home.filePath(QStringLiteral("data/Pictro/events.log"));
    QDir().mkpath(home.filePath(QStringLiteral("config/Pictro")));
    QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nnoSplash=true\nafterShow=false\nafterSave=false\n");
    conf.close();
    whileRunning(environment(), statusPath(), [&] {
        const Run second = runToEnd({QStringLiteral("pictro://capture?type=fullscreen")});
        EXPECT_EQ(second.exitCode, 0);
        const Run reopen = runToEnd({});
        EXPECT_EQ(reopen.exitCode, 0) << "a plain second launch asks the first to reopen and exits";
        // A capture from the keyboard comes after both requests: once it is logged, they have been
        // handled.
        x11test::xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
        ASSERT_TRUE(
            waitUntil([&] { return readFile(log).contains(QStringLiteral(" capture source=fullscreen")); }));
    });
    EXPECT_FALSE(readFile(log).contains(QStringLiteral("url-handled"))) << readFile(log).toStdString();
    EXPECT_FALSE(readFile(log).contains(QStringLiteral("pictro://")));
}

} // namespace
