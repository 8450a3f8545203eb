// The capture road through the real program in a Wayland session: full screen and a dragged area
// through the desktop portal, each saved file compared with grim's picture of the same screen, and
// a copy made with no Pictro window focused read back with wl-paste.
#include "WaylandSession.h"
#include "support/ExternalProgram.h"
#include "x11/RunningPictro.h"

#include <QProcess>

using testsupport::waitUntil;
using waylandsession::swaymsg;

namespace {

class WaylandRoad : public RunningPictro {
protected:
    void SetUp() override {
        RunningPictro::SetUp();
        ASSERT_TRUE(input.ready());
    }
    // Links and actions reach the running instance the way a desktop or a compositor binding hands
    // them over: a second launch.
    void launchAgain(const QStringList& args) {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(qEnvironmentVariable("PICTRO_BINARY"), args);
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    }
    void openLink(const QString& link) { launchAgain({link}); }
    bool windowShows(const QString& title) {
        return waitUntil([&] { return swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")}).contains(
                                   QStringLiteral("\"name\": \"") + title + QLatin1Char('"')); },
                         8000);
    }
    QImage onlySaved() const {
        const QStringList files = savedFiles();
        return files.size() == 1 ? QImage(QDir(shots()).filePath(files.first())).convertToFormat(QImage::Format_RGB32)
                                 : QImage();
    }
    static QByteArray pasted(const QString& type) {
        return testsupport::runProgram(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline"), QStringLiteral("--type"), type})
            .out;
    }

    waylandsession::VirtualInput input;
};

const QByteArray linkSettings = "urlSchemeEnabled=true\nsaveFormat=png\n";
const QPoint farCorner(1900, 1060);

} // namespace

TEST_F(WaylandRoad, AFullScreenCaptureSavesTheOutputAsGrimSeesItAndTheClipboardHoldsIt) {
    waylandsession::PatternWindow pattern;
    start(linkSettings + "afterCopy=true\n");
    openLink(QStringLiteral("pictro://capture?type=fullscreen"));
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000)) << pictro.readAllStandardError().toStdString();
    const QImage expected = waylandsession::grim(QStringLiteral("HEADLESS-1"));
    ASSERT_NE(expected.pixel(100, 100), expected.pixel(101, 100)) << "the pattern is not on screen";
    EXPECT_EQ(onlySaved(), expected);
    EXPECT_TRUE(testsupport::readFile(log()).contains(QStringLiteral(" capture source=fullscreen px=1920x1080\n")));

    // No Pictro window had the focus: the copy still reached the clipboard, and stays there.
    QByteArray png;
    EXPECT_TRUE(waitUntil([&] { return !(png = pasted(QStringLiteral("image/png"))).isEmpty(); }, 8000));
    EXPECT_EQ(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(WaylandRoad, TheCommandLineActionAsASwayBindingRunsItCaptures) {
    waylandsession::PatternWindow pattern;
    start("saveFormat=png\n");
    launchAgain({QStringLiteral("--action"), QStringLiteral("fullscreen")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000)) << pictro.readAllStandardError().toStdString();
    EXPECT_EQ(onlySaved(), waylandsession::grim(QStringLiteral("HEADLESS-1")));
}

TEST_F(WaylandRoad, ADraggedAreaSavesExactlyThosePixels) {
    waylandsession::PatternWindow pattern;
    // This compositor draws the pointer into every picture of the screen: keep it out of the area.
    ASSERT_TRUE(input.move(farCorner));
    start(linkSettings);
    openLink(QStringLiteral("pictro://capture?type=area"));
    ASSERT_TRUE(windowShows(QStringLiteral("Pictro Selection"))) << pictro.readAllStandardError().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_TRUE(input.drag({250, 200}, {450, 380}));
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000)) << pictro.readAllStandardError().toStdString();
    ASSERT_TRUE(input.move(farCorner));
    const QImage screen = waylandsession::grim(QStringLiteral("HEADLESS-1"));
    EXPECT_EQ(onlySaved(), screen.copy(250, 200, 200, 180));
    EXPECT_TRUE(testsupport::readFile(log()).contains(QStringLiteral(" capture source=area px=200x180\n")));
}
