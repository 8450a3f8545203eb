// The real program on a private X server, driven by real key presses and links: the road of one
// capture from the key to the saved file.
#include "RunningPictro.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::readFile;
using testsupport::waitUntil;

namespace {

using HotkeyCapture = RunningPictro;

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
    // Keys arrive in order: once the area shortcut typed next has opened the selection, the
    // unbound one has been passed over.
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")});
    ASSERT_TRUE(windowShows(QStringLiteral("^Pictro Selection$")));
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(windowGone(QStringLiteral("^Pictro Selection$")));
    EXPECT_EQ(savedCount(), 0);
    EXPECT_FALSE(readFile(log()).contains(QStringLiteral("capture")));
}

TEST_F(HotkeyCapture, ALinkFromASecondProcessCapturesInTheRunningOne) {
    start("urlSchemeEnabled=true\n");
    QProcess second;
    second.setProcessEnvironment(environment());
    ASSERT_TRUE(testsupport::startProgram(second, qEnvironmentVariable("PICTRO_BINARY"),
                                          {QStringLiteral("pictro://capture?type=fullscreen")}));
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    EXPECT_TRUE(waitUntil([&] {
        return readFile(log()).contains(QStringLiteral(" url-handled pictro://capture?type=fullscreen\n"));
    }));
}

} // namespace
