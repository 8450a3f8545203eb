// The real program on a private X server, driven by real key presses and links: the road of one
// capture from the key to the saved file.
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using testsupport::readFile;
using testsupport::waitUntil;

namespace {

class HotkeyCapture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("PICTRO_BINARY"));
        QDir().mkpath(home.filePath(QStringLiteral("config/Pictro")));
        QDir().mkpath(shots());
    }
    void TearDown() override {
        if (pictro.state() != QProcess::NotRunning) {
            pictro.terminate();
            pictro.waitForFinished(10000);
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
    void start(const QByteArray& extraSettings = {}) {
        QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[General]\nafterShow=false\nafterSave=true\nnoSplash=true\nscreenshotsFolder=" +
                   QFile::encodeName(shots()) + "\n" + extraSettings);
        conf.close();
        pictro.setProcessEnvironment(environment());
        pictro.start(qEnvironmentVariable("PICTRO_BINARY"), {});
        ASSERT_TRUE(pictro.waitForStarted());
        ASSERT_TRUE(waitUntil([&] { return QFile::exists(home.filePath(QStringLiteral("data/Pictro/status.txt"))); }));
    }
    int savedCount() const { return static_cast<int>(QDir(shots()).entryList(QDir::Files).size()); }
    static void xdotool(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral("xdotool"), args);
        p.waitForFinished(5000);
    }

    QTemporaryDir home;
    QProcess pictro;
};

TEST_F(HotkeyCapture, TheDefaultShortcutCapturesTheScreenWhateverTheLockKeys) {
    start();
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; })) << pictro.readAllStandardError().toStdString();
    EXPECT_TRUE(readFile(log()).contains(QStringLiteral(" capture source=fullscreen px=1920x1080\n")));
    const QStringList files = QDir(shots()).entryList(QDir::Files);
    EXPECT_TRUE(files.first().startsWith(QStringLiteral("Pictro "))) << files.first().toStdString();
    EXPECT_EQ(QImage(QDir(shots()).filePath(files.first())).size(), QSize(1920, 1080));

    xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock"), QStringLiteral("Num_Lock")});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    EXPECT_TRUE(waitUntil([&] { return savedCount() == 2; })) << "with Caps Lock and Num Lock on";
    xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock"), QStringLiteral("Num_Lock")});
}

TEST_F(HotkeyCapture, AnUnboundShortcutNoLongerFires) {
    start("hotkey_fullscreen=\n");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    QThread::msleep(800);
    QCoreApplication::processEvents();
    EXPECT_EQ(savedCount(), 0);
    EXPECT_FALSE(readFile(log()).contains(QStringLiteral("capture")));
}

TEST_F(HotkeyCapture, ALinkFromASecondProcessCapturesInTheRunningOne) {
    start("urlSchemeEnabled=true\n");
    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(qEnvironmentVariable("PICTRO_BINARY"), {QStringLiteral("pictro://capture?type=fullscreen")});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return readFile(log()).contains(QStringLiteral(" url-handled pictro://capture?type=fullscreen\n")); }));
}

} // namespace
