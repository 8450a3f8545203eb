#include "platform/fake/FakePlatform.h"

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
    screenList.push_back(info);
    return screenList.back();
}

FakePlatform& FakePlatform::installNew() {
    auto platform = std::make_unique<FakePlatform>();
    FakePlatform& ref = *platform;
    Platform::install(std::move(platform));
    return ref;
}
