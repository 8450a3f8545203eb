// `pictro --action NAME` against the real program on the test's X server: a second launch hands
// the action to the Pictro that runs, and a first launch runs it itself, whatever the URL scheme
// setting says.
#include "RunningPictro.h"

#include <QProcess>

using testsupport::readFile;
using testsupport::waitUntil;

namespace {

class CommandLineActions : public RunningPictro {
  protected:
    // A second launch: it must hand the action over and end at once.
    void runAction(const QString& name) {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(qEnvironmentVariable("PICTRO_BINARY"), {QStringLiteral("--action"), name});
        ASSERT_TRUE(second.waitForFinished(5000)) << name.toStdString() << " did not end";
        EXPECT_EQ(second.exitCode(), 0)
            << name.toStdString() << ": " << second.readAllStandardError().toStdString();
    }
    bool logged(const QString& line) const {
        return readFile(log()).contains(QLatin1Char(' ') + line + QLatin1Char('\n'));
    }
};

TEST_F(CommandLineActions, EveryActionReachesTheRunningInstance) {
    start(); // the URL scheme is off, as it is by default
    const qint64 firstPid = pictro.processId();
    // The screen capture first: the selections and windows the others open would be in its picture.
    runAction(QStringLiteral("fullscreen"));
    ASSERT_TRUE(waitUntil([&] { return logged(QStringLiteral("capture source=fullscreen px=1920x1080")); }))
        << readFile(log()).toStdString();
    EXPECT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    for (const char* name : {"area", "repeat-area", "active-window", "window", "delayed", "scrolling", "ocr",
                             "open-file", "clipboard", "settings", "show"}) {
        runAction(QString::fromLatin1(name));
        EXPECT_TRUE(waitUntil([&] {
            return logged(QStringLiteral("action-handled ") + QLatin1String(name));
        })) << name
            << " did not arrive; log:\n"
            << readFile(log()).toStdString();
    }
    EXPECT_FALSE(xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                          QStringLiteral("^Preferences$")})
                     .isEmpty())
        << "the settings action shows the preferences";
    EXPECT_EQ(pictro.state(), QProcess::Running);
    EXPECT_EQ(pictro.processId(), firstPid);
    EXPECT_TRUE(readFile(home.filePath(QStringLiteral("data/Pictro/status.txt")))
                    .startsWith(QStringLiteral("pid=%1\n").arg(firstPid)))
        << "no second instance started";
}

TEST_F(CommandLineActions, AFirstLaunchRunsTheActionItself) {
    QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nafterShow=false\nafterSave=true\nnoSplash=true\nscreenshotsFolder=" +
               QFile::encodeName(shots()) + "\n");
    conf.close();
    pictro.setProcessEnvironment(environment());
    pictro.start(qEnvironmentVariable("PICTRO_BINARY"),
                 {QStringLiteral("--action"), QStringLiteral("fullscreen")});
    ASSERT_TRUE(
        waitUntil([&] { return logged(QStringLiteral("capture source=fullscreen px=1920x1080")); }, 10000))
        << readFile(log()).toStdString() << pictro.readAllStandardError().toStdString();
    EXPECT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    EXPECT_EQ(pictro.state(), QProcess::Running) << "it stays in the tray afterwards";
}

} // namespace
