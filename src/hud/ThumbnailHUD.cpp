#include "hud/ThumbnailHUD.h"

#include "hud/HudPlacement.h"
#include "hud/HudSurface.h"
#include "hud/ThumbnailView.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <optional>

QPointer<ThumbnailView> ThumbnailHUD::s_panel;
QPointer<QTimer> ThumbnailHUD::s_hideTimer;

namespace {

std::optional<int> hideDelayMilliseconds(HidePreviewMode mode) {
    switch (mode) {
    case HidePreviewMode::after3s:
        return 3000;
    case HidePreviewMode::after10s:
        return 10000;
    case HidePreviewMode::manual:
        break;
    }
    return std::nullopt;
}

} // namespace

void ThumbnailHUD::show(const CapturedImage& image, OpenHandler onOpen) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app, [image, onOpen = std::move(onOpen)] { showNow(image, onOpen); }, Qt::QueuedConnection);
}

ThumbnailView* ThumbnailHUD::current() {
    return s_panel.data();
}

QTimer* ThumbnailHUD::hideTimer() {
    return s_hideTimer.data();
}

void ThumbnailHUD::hide() {
    if (QTimer* timer = s_hideTimer.data()) {
        timer->stop();
    }
    s_hideTimer = nullptr;
    if (ThumbnailView* view = s_panel.data()) {
        view->hide();
        view->deleteLater();
    }
    s_panel = nullptr;
}

void ThumbnailHUD::showNow(const CapturedImage& image, const OpenHandler& onOpen) {
    hide();
    if (!Platform::isInstalled()) return;
    const Screens& screens = Platform::current().screens();
    const auto screen = screens.mainOrFirstScreen();
    if (!screen) {
        qCWarning(lcHud, "no screen to show the thumbnail on");
        return;
    }
    const QSizeF size = hudplacement::thumbnailSize(image.pointSize());
    const QRect geometry =
        hudplacement::qtWindowGeometry(hudplacement::thumbnailFrame(size, *screen), screens.converter());

    auto open = [onOpen](const CapturedImage& opened) {
        hide();
        if (onOpen) onOpen(opened);
    };
    auto* view = new ThumbnailView(
        image, open, [] { hide(); }, hudsurface::compositingActive());
    // A size that cannot change: tiling compositors float such a window over the others instead
    // of giving it a share of the screen.
    view->setFixedSize(geometry.size());
    view->move(geometry.topLeft());
    view->show();
    view->raise();
    s_panel = view;

    if (const auto delay = hideDelayMilliseconds(Settings::shared().hidePreviewMode())) {
        // The timer belongs to its thumbnail: once that is gone, the timer can hide nothing else.
        auto* timer = new QTimer(view);
        timer->setSingleShot(true);
        // A coarse timer may fire up to 5 % early; the user was promised the full delay.
        timer->setTimerType(Qt::PreciseTimer);
        QPointer<ThumbnailView> shown(view);
        QObject::connect(timer, &QTimer::timeout, view, [shown] {
            if (shown && s_panel == shown) hide();
        });
        timer->start(*delay);
        s_hideTimer = timer;
    }
}
