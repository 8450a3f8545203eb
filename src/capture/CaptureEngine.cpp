#include "capture/CaptureEngine.h"

#include "capture/WindowList.h"
#include "capture/WindowShot.h"
#include "platform/FrozenScreen.h"
#include "platform/Geometry.h"
#include "platform/Platform.h"
#include "platform/ScreenCapture.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"
#include "settings/Settings.h"

#include <QFuture>
#include <QImageReader>

#include <cmath>

namespace {

QFuture<CaptureResult> ready(CaptureResult result) {
    return QtFuture::makeReadyFuture(std::move(result));
}

CaptureError toCaptureError(CaptureFailure failure) {
    switch (failure) {
    case CaptureFailure::noDisplay:
        return CaptureError::noDisplay;
    case CaptureFailure::noWindow:
        return CaptureError::noWindow;
    case CaptureFailure::denied:
        return CaptureError::permission;
    case CaptureFailure::cancelled:
        return CaptureError::cancelled;
    case CaptureFailure::failed:
        return CaptureError::failed;
    case CaptureFailure::unavailable:
        return CaptureError::unavailable;
    }
    return CaptureError::failed;
}

CaptureResult toResult(const PixelsOrError& pixels, double scale) {
    if (const auto* failure = std::get_if<CaptureFailure>(&pixels)) return toCaptureError(*failure);
    const QImage& image = std::get<QImage>(pixels);
    if (image.isNull()) return CaptureError::failed;
    return CapturedImage{image, scale};
}

// The desktop picture scaled while it is decoded to about the size it will be drawn at: a
// wallpaper is often several times the canvas, and the aspect-fill placement is the same.
QImage loadWallpaper(const QString& path, const QSize& canvas) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && !full.isEmpty()) {
        const QRectF drawn = windowshot::aspectFill(QSizeF(full), QSizeF(canvas));
        if (drawn.width() < full.width())
            reader.setScaledSize(QSize(static_cast<int>(std::ceil(drawn.width())),
                                       static_cast<int>(std::ceil(drawn.height()))));
    }
    return reader.read();
}

} // namespace

std::vector<WindowInfo> CaptureEngine::onScreenWindows() {
    if (!Platform::isInstalled()) return {};
    WindowServer& server = Platform::current().windowServer();
    const qint32 own = server.ownPid();
    return windowlist::filter(server.onScreenWindowList(), own);
}

std::optional<WindowInfo> CaptureEngine::frontmostWindow() {
    if (!Platform::isInstalled()) return std::nullopt;
    const auto pid = Platform::current().windowServer().frontmostApplicationPid();
    return windowlist::frontmost(onScreenWindows(), pid);
}

// The platform stays alive in the continuation until the backend's capture has finished, even
// when another platform is installed in the meantime.
static QFuture<CaptureResult> resultOf(QFuture<PixelsOrError> pixels, std::shared_ptr<Platform> platform,
                                       double scale) {
    return pixels.then(
        [platform = std::move(platform), scale](const PixelsOrError& p) { return toResult(p, scale); });
}

QFuture<CaptureResult> CaptureEngine::captureDisplay(const ScreenInfo& screen) {
    std::shared_ptr<Platform> platform = Platform::shared();
    if (!platform) return ready(CaptureError::noDisplay);
    ScreenCapture& capture = platform->screenCapture();
    if (!capture.screenCaptureAllowed()) return ready(CaptureError::permission);
    // The screen as it is now: it may have gone or moved since the caller looked.
    const auto current = platform->screens().screenWithId(screen.displayId);
    if (!current) return ready(CaptureError::noDisplay);
    return resultOf(capture.captureDisplay(*current), std::move(platform), current->scale);
}

std::optional<FrozenDisplay> CaptureEngine::freezeDisplay(const ScreenInfo& screen, double dimAlpha) {
    std::shared_ptr<Platform> platform = Platform::shared();
    if (!platform) return std::nullopt;
    ScreenCapture& capture = platform->screenCapture();
    if (!capture.screenCaptureAllowed()) return std::nullopt;
    const auto current = platform->screens().screenWithId(screen.displayId);
    if (!current) return std::nullopt;
    std::shared_ptr<FrozenScreen> held = capture.freezeDisplay(*current, dimAlpha);
    if (!held) return std::nullopt;
    return FrozenDisplay{held, resultOf(held->pixels(), std::move(platform), current->scale)};
}

std::optional<ScreenInfo> CaptureEngine::screenContaining(const QRectF& cgRect) {
    if (!Platform::isInstalled()) return std::nullopt;
    return screenContaining(cgRect, Platform::current().screens().screens());
}

std::optional<ScreenInfo> CaptureEngine::screenContaining(const QRectF& cgRect,
                                                          const std::vector<ScreenInfo>& screens) {
    if (screens.empty()) return std::nullopt;
    const QRectF rect = geometry::topLeftToBottomLeft(cgRect, screens.front().frame.bottom());
    const ScreenInfo* best = &screens.front();
    double bestArea = geometry::intersectionArea(best->frame, rect);
    for (size_t i = 1; i < screens.size(); ++i) {
        const double area = geometry::intersectionArea(screens[i].frame, rect);
        if (area > bestArea) {
            best = &screens[i];
            bestArea = area;
        }
    }
    return *best;
}

double CaptureEngine::windowScale(const std::optional<QRectF>& frameCG,
                                  const std::vector<ScreenInfo>& screens,
                                  const std::optional<ScreenInfo>& mainScreen) {
    if (frameCG)
        if (auto screen = screenContaining(*frameCG, screens)) return screen->scale;
    if (mainScreen) return mainScreen->scale;
    return 2.0;
}

QFuture<CaptureResult> CaptureEngine::captureWindow(quint32 windowID) {
    std::shared_ptr<Platform> platform = Platform::shared();
    if (!platform) return ready(CaptureError::noWindow);
    ScreenCapture& capture = platform->screenCapture();
    if (!capture.screenCaptureAllowed()) return ready(CaptureError::permission);
    const auto frame = platform->windowServer().windowFrame(windowID);
    if (!frame) return ready(CaptureError::noWindow);
    const double scale = windowScale(frame, platform->screens().screens(), platform->screens().mainScreen());
    return resultOf(capture.captureWindow(windowID), std::move(platform), scale);
}

CapturedImage CaptureEngine::composeWindowShot(const CapturedImage& shot, WindowBGStyle style,
                                               const std::optional<ScreenInfo>& screen) {
    if (style == WindowBGStyle::trimShadow) return shot;
    QImage wallpaper;
    if (style == WindowBGStyle::wallpaper && screen && Platform::isInstalled()) {
        if (const auto path = Platform::current().workspace().desktopImagePath(*screen))
            wallpaper = loadWallpaper(*path, windowshot::canvasSize(shot.image.size(), shot.scale));
    }
    const QColor solid = style == WindowBGStyle::solid ? Settings::shared().windowBGColor() : QColor();
    return windowshot::compose(shot, style, solid, wallpaper);
}
