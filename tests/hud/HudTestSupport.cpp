#include "HudTestSupport.h"

#include "hud/ThumbnailHUD.h"
#include "hud/ToastHUD.h"
#include "platform/fake/FakePlatform.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace hudtest {

Settings& isolatedSettings() {
    static QTemporaryDir dir;
    static bool once = [] {
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        Settings::registerDefaults();
        return true;
    }();
    (void)once;
    return Settings::shared();
}

FakePlatform& installOneScreen() {
    FakePlatform& platform = FakePlatform::installNew();
    ScreenInfo& screen = platform.fakeScreens.addScreen(QRectF(0, 0, 1440, 900), 2.0);
    screen.visibleFrame = QRectF(0, 30, 1440, 870);
    // The offscreen desktop these tests run on has no compositing manager: HUDs are opaque.
    platform.fakeWindows.compositing = false;
    return platform;
}

void clearHuds() {
    QCoreApplication::processEvents(); // toasts still queued from the test
    ToastHUD::dismiss();
    ThumbnailHUD::hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace hudtest
