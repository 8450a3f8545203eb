#pragma once

// The real program as a child process on the test's X server, with its own config, data and
// screenshots folders, so a test sees exactly what a user would find on disk.
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class RunningPictro : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("PICTRO_BINARY"));
        QDir().mkpath(home.filePath(QStringLiteral("config/Pictro")));
        QDir().mkpath(shots());
    }
    void TearDown() override {
        if (pictro.state() != QProcess::NotRunning) {
            pictro.terminate();
            pictro.waitForFinished(testsupport::scaled(10000));
        }
    }
    QString shots() const { return home.filePath(QStringLiteral("shots")); }
    QString log() const { return home.filePath(QStringLiteral("data/Pictro/events.log")); }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return env;
    }
    // Starts Pictro with the editor off and saving on, plus `extraSettings` lines, and waits until
    // it has finished launching.
    void start(const QByteArray& extraSettings = {}) {
        QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[General]\nafterShow=false\nafterSave=true\nnoSplash=true\nscreenshotsFolder=" +
                   QFile::encodeName(shots()) + "\n" + extraSettings);
        conf.close();
        pictro.setProcessEnvironment(environment());
        ASSERT_TRUE(testsupport::startProgram(pictro, qEnvironmentVariable("PICTRO_BINARY")));
        // A launch on a loaded machine can take many seconds.
        ASSERT_TRUE(testsupport::waitUntil(
            [&] { return QFile::exists(home.filePath(QStringLiteral("data/Pictro/status.txt"))); }, 30000));
    }
    QStringList savedFiles() const { return QDir(shots()).entryList(QDir::Files, QDir::Name); }
    int savedCount() const { return static_cast<int>(savedFiles().size()); }
    static QString xdotool(const QStringList& args) { return x11test::xdotool(args); }
    // Whether a window with this title (a regular expression) is on the screen.
    static bool windowShows(const QString& title) {
        return testsupport::waitUntil([&] {
            return !xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), title})
                        .isEmpty();
        });
    }
    static bool windowGone(const QString& title) {
        return testsupport::waitUntil([&] {
            return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                            QStringLiteral("--name"), title})
                .isEmpty();
        });
    }

    QTemporaryDir home;
    QProcess pictro;
};
