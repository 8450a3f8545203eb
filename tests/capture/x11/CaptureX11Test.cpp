#include "capture/CaptureEngine.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Platform.h"
#include "save/SaveService.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"
#include "support/x11/TestWindow.h"
#include "support/x11/X11TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testsupport::waitUntil;

X11Platform* platform() {
    return &x11test::installX11Platform();
}

std::optional<WindowInfo> listed(quint32 id) {
    for (const WindowInfo& w : CaptureEngine::onScreenWindows())
        if (w.windowID == id) return w;
    return std::nullopt;
}

qsizetype indexOf(const std::vector<WindowInfo>& list, quint32 id) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].windowID == id) return static_cast<qsizetype>(i);
    return -1;
}

CaptureResult await(QFuture<CaptureResult> f) {
    waitUntil([&] { return f.isFinished(); }, 10000);
    return f.result();
}

// The window manager has reparented the client into a frame with decorations.
bool decorated(quint32 client) {
    return x11test::frameRectOf(client).height() > x11test::clientRectOf(client).height();
}

// The screen shows this colour at a point of the root window.
bool showsColour(const QPoint& at, QRgb colour) {
    return x11test::rootPixel(at).rgb() == (colour | 0xff000000u);
}

bool onlyColour(const QImage& image, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) | 0xff000000u) != (colour | 0xff000000u)) return false;
    return true;
}

class CaptureX11 : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(platform()); }
};

TEST_F(CaptureX11, WindowListIsFrontToBackWithoutWhatNobodyMeans) {
    TestWindow back({"--pos", "100,100", "--size", "300x200", "--color", "ff0000", "--title", "Back window",
                     "--class", "alpha"});
    TestWindow front({"--pos", "200,150", "--size", "300x200", "--color", "00ff00", "--class", "beta"});
    TestWindow noPid({"--pos", "600,100", "--size", "200x150", "--no-pid", "--title", "anonymous"});
    TestWindow dock({"--pos", "0,1000", "--size", "800x40", "--type", "dock"});
    TestWindow narrow({"--pos", "900,100", "--size", "50x300"});
    TestWindow faint({"--pos", "900,500", "--size", "300x200", "--opacity", "0.05"});
    TestWindow visible({"--pos", "1300,500", "--size", "300x200", "--opacity", "0.5"});
    TestWindow kept({"--pos", "1300,100", "--size", "300x200", "--above"});
    QWidget own;
    own.setWindowTitle(QStringLiteral("Pictro's own"));
    own.resize(300, 200);
    own.show();
    for (const TestWindow* w : {&back, &front, &noPid, &dock, &narrow, &faint, &visible, &kept})
        ASSERT_NE(w->id(), 0u);
    // Everything that should be listed is, and the window manager manages Pictro's own window too,
    // so leaving it out is the list's doing.
    ASSERT_TRUE(waitUntil(
        [&] { return listed(back.id()) && listed(noPid.id()) && listed(visible.id()) && listed(front.id()); },
        15000));
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const quint32 id : {narrow.id(), faint.id(), kept.id(), static_cast<quint32>(own.winId())})
                if (!x11test::inClientList(id)) return false;
            return true;
        },
        15000));

    const auto list = CaptureEngine::onScreenWindows();
    const qsizetype iFront = indexOf(list, front.id()), iBack = indexOf(list, back.id());
    ASSERT_GE(iFront, 0);
    ASSERT_GE(iBack, 0);
    EXPECT_LT(iFront, iBack); // mapped later, so in front
    for (const TestWindow* w : {&dock, &narrow, &faint, &kept})
        EXPECT_EQ(indexOf(list, w->id()), -1) << w->id();
    EXPECT_EQ(indexOf(list, static_cast<quint32>(own.winId())), -1);
    for (const WindowInfo& w : list)
        EXPECT_NE(w.pid, QCoreApplication::applicationPid());

    const WindowInfo b = list[static_cast<size_t>(iBack)];
    EXPECT_EQ(b.title, QStringLiteral("Back window"));
    EXPECT_EQ(b.ownerName, QStringLiteral("alphaClass"));
    EXPECT_EQ(b.pid, back.pid());
    // Without _NET_WM_PID the X server still knows the client's pid.
    EXPECT_EQ(listed(noPid.id())->pid, noPid.pid());
}

TEST_F(CaptureX11, FrameRectangleIsTheWindowManagersFrame) {
    TestWindow w({"--pos", "300,250", "--size", "320x240"});
    ASSERT_NE(w.id(), 0u);
    ASSERT_TRUE(waitUntil([&] { return listed(w.id()).has_value(); }));
    // The window manager reparents and decorates a new window a moment after it is listed.
    ASSERT_TRUE(waitUntil([&] { return decorated(w.id()); }));
    const QRect frame = x11test::frameRectOf(w.id());
    const WindowInfo info = *listed(w.id());
    EXPECT_EQ(info.frameCG, QRectF(frame));
    // Decorations included: the frame is larger than the client.
    EXPECT_GT(info.frameCG.height(), 240);
}

TEST_F(CaptureX11, FrontmostWindowFollowsTheActiveWindow) {
    TestWindow a({"--pos", "100,100", "--size", "300x200"});
    TestWindow b({"--pos", "500,100", "--size", "300x200"});
    ASSERT_TRUE(a.id() && b.id());
    ASSERT_TRUE(waitUntil([&] { return listed(a.id()) && listed(b.id()); }));
    for (const TestWindow* w : {&a, &b}) {
        x11test::xdotool({QStringLiteral("windowactivate"), QString::number(w->id())});
        EXPECT_TRUE(waitUntil([&] {
            const auto f = CaptureEngine::frontmostWindow();
            return f && f->windowID == w->id() && f->pid == w->pid();
        })) << w->id();
    }
}

TEST_F(CaptureX11, DisplayCaptureEqualsTheScreenAndSavesPixelForPixel) {
    TestWindow w({"--pos", "400,300", "--size", "500x300", "--color", "3366cc"});
    ASSERT_NE(w.id(), 0u);
    ASSERT_TRUE(waitUntil([&] { return listed(w.id()).has_value() && decorated(w.id()); }));
    ASSERT_TRUE(waitUntil([] { return showsColour(QPoint(650, 450), 0x3366cc); }));
    const auto screen = platform()->screens().screens().front();
    const CaptureResult r = await(CaptureEngine::captureDisplay(screen));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().scale, screen.scale);
    EXPECT_EQ(r.image().image.size(), screen.pixelRect.size());
    const QImage reference = x11test::rootByImport();
    ASSERT_FALSE(reference.isNull());
    EXPECT_TRUE(x11test::samePixels(r.image().image, reference));
    const QRect client = QRect(QPoint(400, 300), QSize(500, 300));
    EXPECT_TRUE(onlyColour(r.image().image, client.adjusted(20, 40, -20, -20), 0x3366cc));

    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    settings.set(keys::screenshotsFolder, dir.path());
    settings.set(keys::saveFormat, QStringLiteral("png"));
    const auto path = SaveService(settings).save(r.image());
    ASSERT_TRUE(path);
    EXPECT_TRUE(x11test::samePixels(QImage(*path), reference));
}

TEST_F(CaptureX11, CoveredWindowShowsOnlyItsOwnPixels) {
    TestWindow covered({"--pos", "200,200", "--size", "400x300", "--color", "cc2222"});
    ASSERT_NE(covered.id(), 0u);
    ASSERT_TRUE(waitUntil([&] { return listed(covered.id()).has_value(); }));
    TestWindow cover({"--pos", "300,250", "--size", "400x300", "--color", "22cc22"});
    ASSERT_NE(cover.id(), 0u);
    // The cover is on the screen over the covered window's middle.
    ASSERT_TRUE(waitUntil([&] { return listed(cover.id()).has_value(); }));
    ASSERT_TRUE(waitUntil([] { return showsColour(QPoint(450, 400), 0x22cc22); }));
    const WindowInfo info = *listed(covered.id());
    const CaptureResult r = await(CaptureEngine::captureWindow(covered.id()));
    ASSERT_TRUE(r.ok());
    const QImage& img = r.image().image;
    EXPECT_EQ(QSizeF(img.size()), info.frameCG.size());
    const QRect client = x11test::clientRectOf(covered.id()).translated(-info.frameCG.topLeft().toPoint());
    ASSERT_EQ(client.size(), QSize(400, 300));
    EXPECT_TRUE(onlyColour(img, client, 0xcc2222));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_NE(img.pixel(x, y) | 0xff000000u, 0xff22cc22u) << x << "," << y;
}

TEST_F(CaptureX11, TransparentWindowsKeepTheirAlpha) {
    TestWindow glass({"--pos", "250,250", "--size", "300x200", "--color", "0000ff", "--argb", "128"});
    ASSERT_NE(glass.id(), 0u);
    ASSERT_TRUE(waitUntil([&] { return listed(glass.id()).has_value() && decorated(glass.id()); }));
    const CaptureResult r = await(CaptureEngine::captureWindow(glass.id()));
    ASSERT_TRUE(r.ok());
    const QImage& img = r.image().image;
    ASSERT_TRUE(img.hasAlphaChannel());
    const QRect client =
        x11test::clientRectOf(glass.id()).translated(-listed(glass.id())->frameCG.topLeft().toPoint());
    const QRgb centre = img.pixel(client.center());
    EXPECT_EQ(qAlpha(centre), 128);
    EXPECT_EQ(centre, 0x80000080u); // premultiplied, as the window drew it
    EXPECT_EQ(img.pixelColor(client.center()), QColor(0, 0, 255, 128));
    // The decorations stay opaque.
    EXPECT_EQ(qAlpha(img.pixel(client.center().x(), 2)), 255);
}

TEST_F(CaptureX11, GoneWindowsAreNoWindowWithoutXErrors) {
    testing::internal::CaptureStderr();
    TestWindow w({"--pos", "100,100", "--size", "200x100"});
    const quint32 id = w.id();
    ASSERT_NE(id, 0u);
    w.close(); // returns once the window manager has let the window go
    EXPECT_EQ(await(CaptureEngine::captureWindow(id)).error(), CaptureError::noWindow);
    EXPECT_EQ(await(CaptureEngine::captureWindow(0x1ffffffe)).error(), CaptureError::noWindow);
    EXPECT_EQ(await(CaptureEngine::captureWindow(0)).error(), CaptureError::noWindow);
    // The root window is no client window.
    EXPECT_EQ(
        await(CaptureEngine::captureWindow(static_cast<quint32>(X11Connection::shared().rootScreen()->root)))
            .error(),
        CaptureError::noWindow);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("X Error"), std::string::npos) << err;
    EXPECT_EQ(err.find("QXcbConnection"), std::string::npos) << err;
}

TEST_F(CaptureX11, ManyCapturesAtOnceFromWorkerThreads) {
    const auto screen = platform()->screens().screens().front();
    std::vector<QFuture<CaptureResult>> futures;
    for (int i = 0; i < 8; ++i)
        futures.push_back(CaptureEngine::captureDisplay(screen));
    for (auto& f : futures) {
        const CaptureResult r = await(f);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.image().image.size(), screen.pixelRect.size());
    }
}

TEST_F(CaptureX11, GoneScreenIsNoDisplay) {
    ScreenInfo gone = platform()->screens().screens().front();
    gone.displayId ^= 0x5a5a5a5a;
    EXPECT_EQ(await(CaptureEngine::captureDisplay(gone)).error(), CaptureError::noDisplay);
    // A screen outside the root window, as after an unplug.
    ScreenInfo outside = platform()->screens().screens().front();
    outside.pixelRect.translate(100000, 0);
    EXPECT_EQ(std::get<CaptureFailure>(platform()->x11Capture().readDisplay(outside)),
              CaptureFailure::noDisplay);
}

} // namespace
