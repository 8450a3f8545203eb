#pragma once

#include "platform/FloatingWindows.h"
#include "platform/InputSynth.h"
#include "platform/Pasteboard.h"
#include "platform/Platform.h"
#include "platform/ScreenCapture.h"
#include "platform/Screens.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"
#include "platform/fake/FakeHotkeyService.h"

#include <QHash>

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <vector>

// In-memory screens with a settable pointer.
class FakeScreens : public Screens {
  public:
    std::vector<ScreenInfo> screenList;
    std::optional<ScreenInfo> main; // when unset, the first screen counts as main
    QPointF mouse;

    std::vector<ScreenInfo> screens() const override { return screenList; }
    std::optional<ScreenInfo> mainScreen() const override;
    QPointF mouseLocation() const override { return mouse; }
    geometry::SpaceConverter converter() const override;

    // Adds a screen of the given frame (bottom-left points) and scale; returns it. Its pixel
    // rectangle is the frame in the top-left space times the scale.
    ScreenInfo& addScreen(const QRectF& frame, double scale = 1.0, const QString& name = {});
};

// Screens' pixels and windows' pixels held in memory, by display id and window number.
class FakeScreenCapture : public BlockingScreenCapture {
  public:
    bool allowed = true;
    int accessRequests = 0;

    bool screenCaptureAllowed() const override { return allowed; }
    void requestScreenCaptureAccess() override { ++accessRequests; }
    PixelsOrError readDisplay(const ScreenInfo& screen) override;
    PixelsOrError readWindow(quint32 windowID) override;

    void setDisplayPixels(quint32 displayId, const QImage& pixels);
    void setWindowPixels(quint32 windowID, const QImage& pixels);
    void removeWindow(quint32 windowID);
    int captureCount() const;

  private:
    mutable std::mutex m_mutex;
    std::map<quint32, QImage> m_displays;
    std::map<quint32, QImage> m_windows;
    int m_captures = 0;
};

// Records the input it is asked to make; a test may let the wheel move something it draws.
class FakeInputSynth : public InputSynth {
  public:
    bool trusted = true;
    int trustRequests = 0;
    std::vector<QPointF> warps;       // top-left points, in order
    std::vector<int> wheelClicks;     // one entry per posted movement
    std::function<void(int)> onWheel; // called with each movement's notches
    std::set<quint32> keysDown;

    bool accessibilityTrusted() const override { return trusted; }
    void requestAccessibilityTrust() override { ++trustRequests; }
    void warpPointer(const QPointF& topLeftPoint) override { warps.push_back(topLeftPoint); }
    bool postWheelClicks(int clicks) override;
    bool keyIsDown(quint32 keyCode) const override { return keysDown.count(keyCode) > 0; }
};

class FakeWindowServer : public WindowServer {
  public:
    std::vector<RawWindowEntry> entries; // front to back
    std::optional<qint32> frontmostPid;
    qint32 pid = 4242;                // this program's own pid in the fake world
    std::map<quint32, QRectF> frames; // windowFrame answers; listed entries answer too
    bool compositing = true;

    std::vector<RawWindowEntry> onScreenWindowList() const override { return entries; }
    std::optional<qint32> frontmostApplicationPid() const override { return frontmostPid; }
    qint32 ownPid() const override { return pid; }
    std::optional<QRectF> windowFrame(quint32 windowID) const override;
    bool compositingManagerRunning() const override { return compositing; }

    // Adds a well-formed normal window and returns its entry.
    RawWindowEntry& addWindow(quint32 number, const QRectF& bounds, qint32 ownerPid,
                              const QString& title = {}, const QString& owner = {});
};

// A clipboard that remembers every write in order.
class FakePasteboard : public Pasteboard {
  public:
    enum class Op { clear, png, image, text };
    std::vector<Op> operations;
    QByteArray png;
    QImage image;
    std::optional<QString> text;

    void clear() override;
    void setPngData(const QByteArray& bytes) override;
    void writeImage(const QImage& img) override;
    void setText(const QString& t) override;
    std::optional<QImage> readImage() const override;
    std::optional<QString> readText() const override { return text; }
};

class FakeWorkspace : public Workspace {
  public:
    QHash<quint32, QString> desktopPictures; // by display id
    std::vector<QUrl> openedURLs;
    bool urlsOpen = true;

    std::optional<QString> desktopImagePath(const ScreenInfo& screen) const override;
    bool openURL(const QUrl& url) override;
};

// Floating windows as on X11 by default (the window manager bypassed for all but the pin); a test
// may switch that off to see the plain traits a compositor-managed desktop gets.
class FakeFloatingWindows : public FloatingWindows {
  public:
    bool bypassWindowManager = true;
    FloatingTraits traits(FloatingRole role) const override {
        FloatingTraits traits = standardFloatingTraits(role);
        if (bypassWindowManager && role != FloatingRole::pin) traits.flags |= Qt::X11BypassWindowManagerHint;
        return traits;
    }
};

class FakePlatform : public Platform {
  public:
    // Everything on by default; a test switches off what a desktop withholds.
    Capabilities caps = Capabilities::all();
    FakeScreens fakeScreens;
    FakeScreenCapture fakeCapture;
    FakeInputSynth fakeInput;
    FakeHotkeyService fakeHotkeys;
    FakeWindowServer fakeWindows;
    FakePasteboard fakePasteboard;
    FakeWorkspace fakeWorkspace;
    FakeFloatingWindows fakeFloating;

    QString name() const override { return QStringLiteral("fake"); }
    Capabilities capabilities() const override { return caps; }
    Screens& screens() override { return fakeScreens; }
    ScreenCapture& screenCapture() override { return fakeCapture; }
    InputSynth& inputSynth() override { return fakeInput; }
    HotkeyService& hotkeys() override { return fakeHotkeys; }
    WindowServer& windowServer() override { return fakeWindows; }
    Pasteboard& pasteboard() override { return fakePasteboard; }
    Workspace& workspace() override { return fakeWorkspace; }
    FloatingWindows& floatingWindows() override { return fakeFloating; }

    // Installs a new fake platform and returns it (owned by Platform).
    static FakePlatform& installNew();
};
