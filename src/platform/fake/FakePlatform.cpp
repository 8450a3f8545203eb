#include "platform/fake/FakePlatform.h"

#include <cmath>

std::optional<ScreenInfo> FakeScreens::mainScreen() const {
    if (main) return main;
    if (screenList.empty()) return std::nullopt;
    return screenList.front();
}

geometry::SpaceConverter FakeScreens::converter() const {
    // The fake desktop puts the primary screen's top-left corner at Qt's origin.
    if (screenList.empty()) return geometry::SpaceConverter();
    const QRectF primary = screenList.front().frame;
    return geometry::SpaceConverter(QRectF(0, 0, primary.width(), primary.height()));
}

ScreenInfo& FakeScreens::addScreen(const QRectF& frame, double scale, const QString& name) {
    ScreenInfo info;
    info.displayId = static_cast<quint32>(screenList.size() + 1);
    info.name = name.isEmpty() ? QStringLiteral("FAKE-%1").arg(info.displayId) : name;
    info.frame = frame;
    info.visibleFrame = frame;
    info.scale = scale;
    const double primaryMaxY = screenList.empty() ? frame.bottom() : screenList.front().frame.bottom();
    const QRectF topLeft = geometry::bottomLeftToTopLeft(frame, primaryMaxY);
    info.pixelRect = QRect(static_cast<int>(std::lround(topLeft.x() * scale)),
                           static_cast<int>(std::lround(topLeft.y() * scale)),
                           static_cast<int>(frame.width() * scale), static_cast<int>(frame.height() * scale));
    screenList.push_back(info);
    return screenList.back();
}

PixelsOrError FakeScreenCapture::readDisplay(const ScreenInfo& screen) {
    std::lock_guard lock(m_mutex);
    ++m_captures;
    if (!allowed) return CaptureFailure::denied;
    const auto it = m_displays.find(screen.displayId);
    if (it == m_displays.end()) return CaptureFailure::noDisplay;
    return it->second;
}

PixelsOrError FakeScreenCapture::readWindow(quint32 windowID) {
    std::lock_guard lock(m_mutex);
    ++m_captures;
    if (!allowed) return CaptureFailure::denied;
    const auto it = m_windows.find(windowID);
    if (it == m_windows.end()) return CaptureFailure::noWindow;
    return it->second;
}

void FakeScreenCapture::setDisplayPixels(quint32 displayId, const QImage& pixels) {
    std::lock_guard lock(m_mutex);
    m_displays[displayId] = pixels;
}

void FakeScreenCapture::setWindowPixels(quint32 windowID, const QImage& pixels) {
    std::lock_guard lock(m_mutex);
    m_windows[windowID] = pixels;
}

void FakeScreenCapture::removeWindow(quint32 windowID) {
    std::lock_guard lock(m_mutex);
    m_windows.erase(windowID);
}

int FakeScreenCapture::captureCount() const {
    std::lock_guard lock(m_mutex);
    return m_captures;
}

bool FakeInputSynth::postWheelClicks(int clicks) {
    if (clicks == 0) return false;
    wheelClicks.push_back(clicks);
    if (onWheel) onWheel(clicks);
    return true;
}

std::optional<QRectF> FakeWindowServer::windowFrame(quint32 windowID) const {
    if (auto it = frames.find(windowID); it != frames.end()) return it->second;
    for (const RawWindowEntry& e : entries)
        if (e.number && *e.number == windowID && e.bounds) return e.bounds;
    return std::nullopt;
}

RawWindowEntry& FakeWindowServer::addWindow(quint32 number, const QRectF& bounds, qint32 ownerPid,
                                            const QString& title, const QString& owner) {
    RawWindowEntry e;
    e.layer = 0;
    e.ownerPid = ownerPid;
    e.bounds = bounds;
    e.number = number;
    e.alpha = 1.0;
    e.name = title;
    e.ownerName = owner;
    entries.push_back(e);
    return entries.back();
}

void FakePasteboard::clear() {
    operations.push_back(Op::clear);
    png.clear();
    image = QImage();
    text.reset();
}

void FakePasteboard::setPngData(const QByteArray& bytes) {
    operations.push_back(Op::png);
    png = bytes;
}

void FakePasteboard::writeImage(const QImage& img) {
    operations.push_back(Op::image);
    image = img;
}

void FakePasteboard::setText(const QString& t) {
    operations.push_back(Op::text);
    text = t;
}

std::optional<QImage> FakePasteboard::readImage() const {
    if (!image.isNull()) return image;
    if (!png.isEmpty()) {
        QImage decoded = QImage::fromData(png, "PNG");
        if (!decoded.isNull()) return decoded;
    }
    return std::nullopt;
}

std::optional<QString> FakeWorkspace::desktopImagePath(const ScreenInfo& screen) const {
    const auto it = desktopPictures.constFind(screen.displayId);
    if (it == desktopPictures.constEnd()) return std::nullopt;
    return *it;
}

bool FakeWorkspace::openURL(const QUrl& url) {
    openedURLs.push_back(url);
    return urlsOpen;
}

FakePlatform& FakePlatform::installNew() {
    auto platform = std::make_unique<FakePlatform>();
    FakePlatform& ref = *platform;
    Platform::install(std::move(platform));
    return ref;
}
