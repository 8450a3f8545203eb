#include "platform/wayland/WaylandScreenCapture.h"

#include "platform/Log.h"
#include "platform/TimingMarks.h"
#include "platform/wayland/DesktopPicture.h"

#include <QCoreApplication>
#include <QThread>

namespace {

CaptureFailure errorFor(ScreenshotFailure failure) {
    switch (failure) {
    case ScreenshotFailure::denied:
        return CaptureFailure::denied;
    case ScreenshotFailure::cancelled:
        return CaptureFailure::cancelled;
    case ScreenshotFailure::portalMissing:
    case ScreenshotFailure::timedOut:
        return CaptureFailure::unavailable;
    case ScreenshotFailure::unreadable:
    case ScreenshotFailure::failed:
        return CaptureFailure::failed;
    }
    return CaptureFailure::failed;
}

const char* failureWords(ScreenshotFailure failure) {
    switch (failure) {
    case ScreenshotFailure::portalMissing:
        return "this desktop offers no screenshot portal";
    case ScreenshotFailure::denied:
        return "the desktop refused the screenshot";
    // Also what a portal answers when its backend failed: not necessarily a person's doing.
    case ScreenshotFailure::cancelled:
        return "the desktop ended the screenshot without a picture";
    case ScreenshotFailure::timedOut:
        return "the screenshot portal did not answer in time";
    case ScreenshotFailure::unreadable:
        return "the screenshot portal's picture cannot be read";
    case ScreenshotFailure::failed:
        return "the screenshot portal failed";
    }
    return "the screenshot failed";
}

// The outputs as they are now, read on the main thread, where Qt keeps them.
std::pair<std::vector<ScreenInfo>, geometry::SpaceConverter> layoutNow(const Screens& screens) {
    std::pair<std::vector<ScreenInfo>, geometry::SpaceConverter> now;
    const auto read = [&] { now = {screens.screens(), screens.converter()}; };
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        read();
    else
        QMetaObject::invokeMethod(app, read, Qt::BlockingQueuedConnection);
    return now;
}

} // namespace

WaylandScreenCapture::Way WaylandScreenCapture::wayFromEnvironment() {
    return qEnvironmentVariable("PICTRO_WAYLAND_CAPTURE") == QLatin1String("portal")
               ? Way::portalOnly
               : Way::screencopyWhereOffered;
}

WaylandScreenCapture::WaylandScreenCapture(const Screens& screens, PortalScreenshot::Options options, Way way)
    : m_screens(screens), m_source(std::move(options)), m_way(way) {}

WaylandScreenCapture::~WaylandScreenCapture() = default;

WaylandScreencopy* WaylandScreenCapture::screencopy() {
    std::call_once(m_screencopyLooked, [this] {
        if (m_way == Way::screencopyWhereOffered) m_screencopy = WaylandScreencopy::connect();
    });
    return m_screencopy.get();
}

bool WaylandScreenCapture::copiesFromCompositor() {
    return screencopy() != nullptr;
}

PixelsOrError WaylandScreenCapture::readDisplay(const ScreenInfo& screen) {
    if (WaylandScreencopy* copy = screencopy()) {
        WaylandScreencopy::Shot shot = copy->capture(screen.name);
        timingmarks::mark("screen copy: answered");
        switch (shot.outcome) {
        case WaylandScreencopy::Outcome::copied:
            return std::move(shot.image);
        case WaylandScreencopy::Outcome::noSuchOutput:
            return CaptureFailure::noDisplay; // unplugged meanwhile
        case WaylandScreencopy::Outcome::notHere:
            break;
        case WaylandScreencopy::Outcome::failed:
            qCWarning(lcPlatform, "the compositor's screen copy failed (%s); asking the screenshot portal",
                      qPrintable(shot.detail));
            break;
        }
    }
    return readThroughPortal(screen);
}

PixelsOrError WaylandScreenCapture::readThroughPortal(const ScreenInfo& screen) {
    const ScreenshotOutcome shot = m_source.take();
    if (shot.failure) {
        qCWarning(lcPlatform, "%s (%s)", failureWords(*shot.failure), qPrintable(shot.detail));
        return errorFor(*shot.failure);
    }
    const auto [outputs, conv] = layoutNow(m_screens);
    QList<QRect> rects;
    QRect own;
    for (const ScreenInfo& s : outputs) {
        const QRect r = conv.bottomLeftToQt(s.frame).toRect();
        rects << r;
        if (s.displayId == screen.displayId) own = r;
    }
    if (own.isNull()) return CaptureFailure::noDisplay; // unplugged meanwhile
    QImage pixels =
        desktoppicture::outputPixels(shot.image, desktoppicture::layoutBounds(rects), own, screen.scale);
    if (pixels.isNull()) {
        qCWarning(lcPlatform, "the outputs changed during the screenshot");
        return CaptureFailure::noDisplay;
    }
    return pixels;
}

PixelsOrError WaylandScreenCapture::readWindow(quint32) {
    return CaptureFailure::noWindow;
}
