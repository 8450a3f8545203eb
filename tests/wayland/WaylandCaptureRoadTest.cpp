// The capture road through the real program in a Wayland session: full screen, a dragged area and
// its repetition, the delayed capture, an opened file, text read off the screen and a missing
// portal, through the desktop portal. Each saved file is compared with grim's picture of the same screen, and
// what reached the clipboard with no Pictro window focused is read back with wl-paste.
#include "WaylandSession.h"
#include "support/ExternalProgram.h"
#include "x11/RunningPictro.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

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
        return waitUntil(
            [&] {
                return swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")})
                    .contains(QStringLiteral("\"name\": \"") + title + QLatin1Char('"'));
            },
            8000);
    }
    QImage onlySaved() const {
        const QStringList files = savedFiles();
        return files.size() == 1
                   ? QImage(QDir(shots()).filePath(files.first())).convertToFormat(QImage::Format_RGB32)
                   : QImage();
    }
    static QByteArray pasted(const QString& type) {
        return testsupport::runProgram(QStringLiteral("wl-paste"),
                                       {QStringLiteral("--no-newline"), QStringLiteral("--type"), type})
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
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000))
        << pictro.readAllStandardError().toStdString();
    const QImage expected = waylandsession::grim(QStringLiteral("HEADLESS-1"));
    ASSERT_NE(expected.pixel(100, 100), expected.pixel(101, 100)) << "the pattern is not on screen";
    EXPECT_EQ(onlySaved(), expected);
    EXPECT_TRUE(
        testsupport::readFile(log()).contains(QStringLiteral(" capture source=fullscreen px=1920x1080\n")));

    // No Pictro window had the focus: the copy still reached the clipboard, and stays there.
    QByteArray png;
    EXPECT_TRUE(waitUntil([&] { return !(png = pasted(QStringLiteral("image/png"))).isEmpty(); }, 8000));
    EXPECT_EQ(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(WaylandRoad, TheCommandLineActionAsASwayBindingCapturesAndItsCopyOutlivesPictrosWindows) {
    waylandsession::PatternWindow pattern;
    start("saveFormat=png\nafterCopy=true\n");
    launchAgain({QStringLiteral("--action"), QStringLiteral("fullscreen")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000))
        << pictro.readAllStandardError().toStdString();
    const QImage saved = onlySaved();
    EXPECT_EQ(saved, waylandsession::grim(QStringLiteral("HEADLESS-1")));

    // The confirmation toast goes; the clipboard is still served by Pictro's clipboard control.
    ASSERT_TRUE(waitUntil([] { return !waylandsession::pictroWindowShown(); }, 10000));
    EXPECT_EQ(QImage::fromData(pasted(QStringLiteral("image/png"))).convertToFormat(QImage::Format_RGB32),
              saved);
    // The compositor gave the toast the focus; it comes back to the user's window.
    EXPECT_TRUE(waylandsession::swayWindow(QStringLiteral("Pattern"))[QStringLiteral("focused")].toBool());
}

TEST_F(WaylandRoad, ADraggedAreaSavesExactlyThosePixelsAndRepeatingItSavesThemAgain) {
    waylandsession::PatternWindow pattern;
    // This compositor draws the pointer into every picture of the screen: keep it out of the area.
    ASSERT_TRUE(input.move(farCorner));
    start(linkSettings);
    openLink(QStringLiteral("pictro://capture?type=area"));
    ASSERT_TRUE(windowShows(QStringLiteral("Pictro Selection")))
        << pictro.readAllStandardError().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_TRUE(input.drag({250, 200}, {450, 380}));
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000))
        << pictro.readAllStandardError().toStdString();
    ASSERT_TRUE(input.move(farCorner));
    const QImage screen = waylandsession::grim(QStringLiteral("HEADLESS-1"));
    EXPECT_EQ(onlySaved(), screen.copy(250, 200, 200, 180));
    EXPECT_TRUE(testsupport::readFile(log()).contains(QStringLiteral(" capture source=area px=200x180\n")));

    launchAgain({QStringLiteral("--action"), QStringLiteral("repeat-area")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 2; }, 10000))
        << pictro.readAllStandardError().toStdString();
    const QStringList files = savedFiles();
    EXPECT_EQ(QImage(QDir(shots()).filePath(files[1])).convertToFormat(QImage::Format_RGB32),
              QImage(QDir(shots()).filePath(files[0])).convertToFormat(QImage::Format_RGB32));
}

TEST_F(WaylandRoad, ADelayedCaptureWaitsItsSecondsThenSavesTheScreenAsItIsThen) {
    start(linkSettings);
    QElapsedTimer sinceAsked;
    sinceAsked.start();
    launchAgain({QStringLiteral("--action"), QStringLiteral("delayed")});
    // What comes on the screen during the countdown is what the picture must show.
    waylandsession::PatternWindow pattern;
    ASSERT_TRUE(input.move(farCorner));
    while (sinceAsked.elapsed() < 2900) {
        ASSERT_EQ(savedCount(), 0) << "saved after " << sinceAsked.elapsed() << " ms";
        testsupport::letEventsRun(50);
    }
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000))
        << pictro.readAllStandardError().toStdString();
    const QImage expected = waylandsession::grim(QStringLiteral("HEADLESS-1"));
    ASSERT_NE(expected.pixel(100, 100), expected.pixel(101, 100)) << "the pattern is not on screen";
    EXPECT_EQ(onlySaved(), expected);
}

TEST_F(WaylandRoad, AnImageFileChosenInTheOpenDialogOpensInTheEditor) {
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(30, 120, 200));
    const QString path = home.filePath(QStringLiteral("opened.png"));
    ASSERT_TRUE(picture.save(path));
    start(linkSettings);
    launchAgain({QStringLiteral("--action"), QStringLiteral("open-file")});
    ASSERT_TRUE(windowShows(QStringLiteral("Open Image"))) << pictro.readAllStandardError().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_TRUE(waylandsession::type(path + QLatin1Char('\n')));
    ASSERT_TRUE(windowShows(QStringLiteral("Pictro Editor"))) << pictro.readAllStandardError().toStdString();
    EXPECT_TRUE(testsupport::readFile(log()).contains(QStringLiteral(" editor-opened px=300x200\n")));
}

TEST_F(WaylandRoad, TextRecognitionReadsTheDraggedAreaOntoTheClipboard) {
    const QString words = QStringLiteral("Pictro reads this line");
    waylandsession::TextWindow text(words, {200, 200});
    ASSERT_TRUE(input.move(farCorner));
    start(linkSettings);
    launchAgain({QStringLiteral("--action"), QStringLiteral("ocr")});
    ASSERT_TRUE(windowShows(QStringLiteral("Pictro Selection")))
        << pictro.readAllStandardError().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_TRUE(input.drag({150, 160}, {1100, 320}));
    QByteArray read;
    EXPECT_TRUE(waitUntil(
        [&] { return (read = pasted(QStringLiteral("text/plain"))).contains(words.toUtf8()); }, 20000))
        << "clipboard: " << read.toStdString() << "\n"
        << pictro.readAllStandardError().toStdString();
}

TEST_F(WaylandRoad, WithoutAScreenshotPortalACaptureSaysSoOnceAndWritesNothingAndTheNextOneWorks) {
    waylandsession::PatternWindow pattern;
    start(linkSettings);
    QTemporaryDir noBackends;
    ASSERT_TRUE(waylandsession::restartPortal(noBackends.path(), false));
    launchAgain({QStringLiteral("--action"), QStringLiteral("fullscreen")});
    QByteArray said;
    EXPECT_TRUE(waitUntil(
        [&] { return (said += pictro.readAllStandardError()).contains("screenshot portal"); }, 15000))
        << said.toStdString();
    waitUntil([] { return false; }, 1000);
    said += pictro.readAllStandardError();
    EXPECT_EQ(said.count("Pictro: this desktop offers no screenshot portal"), 1) << said.toStdString();
    EXPECT_EQ(savedCount(), 0);
    // Its toast would be in the next picture.
    ASSERT_TRUE(waitUntil([] { return !waylandsession::pictroWindowShown(); }, 10000));

    ASSERT_TRUE(waylandsession::restartPortal(waylandsession::sessionPortalBackends(), true));
    launchAgain({QStringLiteral("--action"), QStringLiteral("fullscreen")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 10000))
        << pictro.readAllStandardError().toStdString();
    EXPECT_EQ(onlySaved(), waylandsession::grim(QStringLiteral("HEADLESS-1")));
}

TEST_F(WaylandRoad, ThePreviewFloatsOverTheUsersWindowInsteadOfTakingPartOfTheLayout) {
    waylandsession::PatternWindow pattern;
    ASSERT_TRUE(input.move(farCorner));
    start(linkSettings + "afterShow=true\nafterCropShow=thumbnail\n");
    launchAgain({QStringLiteral("--action"), QStringLiteral("area")});
    ASSERT_TRUE(windowShows(QStringLiteral("Pictro Selection")))
        << pictro.readAllStandardError().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_TRUE(input.drag({250, 200}, {450, 380}));
    ASSERT_TRUE(windowShows(QStringLiteral("Pictro Thumbnail")))
        << pictro.readAllStandardError().toStdString();
    EXPECT_EQ(
        waylandsession::swayWindow(QStringLiteral("Pictro Thumbnail"))[QStringLiteral("type")].toString(),
        QStringLiteral("floating_con"));
    const QJsonObject users = waylandsession::swayWindow(QStringLiteral("Pattern"));
    EXPECT_EQ(users[QStringLiteral("rect")][QStringLiteral("width")].toInt(), 1920);
}
