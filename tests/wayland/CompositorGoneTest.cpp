// The compositor going away under a running Pictro, a capture just asked for: one line of
// Pictro's own instead of Qt's, a clean exit, and among the screenshots only whole pictures.
// This test's own process stays off the compositor (offscreen), so it outlives it.
#include "WaylandSession.h"
#include "x11/RunningPictro.h"

#include <QFile>

namespace {

bool wholePng(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 12) return false;
    f.seek(f.size() - 8);
    return f.read(4) == "IEND" && !QImage(path).isNull();
}

} // namespace

using CompositorGone = RunningPictro;

TEST_F(CompositorGone, PictroSaysSoOnceAndQuitsCleanlyLeavingOnlyWholePictures) {
    start("saveFormat=png\n");
    QProcess capture;
    capture.setProcessEnvironment(environment());
    capture.start(qEnvironmentVariable("PICTRO_BINARY"),
                  {QStringLiteral("--action"), QStringLiteral("fullscreen")});
    ASSERT_TRUE(capture.waitForFinished(10000));
    waylandsession::swaymsg({QStringLiteral("exit")});

    ASSERT_TRUE(pictro.state() == QProcess::NotRunning || pictro.waitForFinished(testsupport::scaled(10000)));
    EXPECT_EQ(pictro.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pictro.exitCode(), 0);
    const QString said = QString::fromUtf8(pictro.readAllStandardError());
    EXPECT_EQ(said.count(QStringLiteral("Pictro: the Wayland compositor has gone")), 1) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("The Wayland connection broke"))) << said.toStdString();
    // The capture got its file written or not at all.
    const QDir dir(shots());
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(wholePng(dir.filePath(file))) << file.toStdString();
}
