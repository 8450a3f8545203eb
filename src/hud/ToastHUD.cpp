#include "hud/ToastHUD.h"

#include "hud/HudPlacement.h"
#include "hud/HudSurface.h"
#include "hud/ToastWindow.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "settings/Settings.h"

#include <QCoreApplication>

#include <cstdio>

QPointer<ToastWindow> ToastHUD::s_panel;

void ToastHUD::show(const QString& message, const QString& symbol, double duration) {
    if (Settings::shared().confirmationStyle() == ConfirmationStyle::none) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app, [message, symbol, duration] { showNow(message, symbol, duration); }, Qt::QueuedConnection);
}

ToastWindow* ToastHUD::current() {
    return s_panel.data();
}

ToastWindow* ToastHUD::build(const QString& message, const QString& symbol, const ScreenInfo& screen,
                             const geometry::SpaceConverter& converter, bool translucent) {
    auto* toast = new ToastWindow(message, symbol, translucent);
    const QRectF frame = hudplacement::toastFrame(toast->layout().size, screen);
    toast->placePanel(hudplacement::qtWindowGeometry(frame, converter));
    return toast;
}

void ToastHUD::dismiss() {
    if (ToastWindow* old = s_panel.data()) {
        old->dismissNow();
        old->deleteLater();
    }
    s_panel = nullptr;
}

void ToastHUD::showNow(const QString& message, const QString& symbol, double duration) {
    dismiss();
    if (!Platform::isInstalled()) return;
    const Screens& screens = Platform::current().screens();
    const auto screen = screens.mainOrFirstScreen();
    if (!screen) {
        qCWarning(lcHud, "no screen to show the toast \"%s\" on", qPrintable(message));
        return;
    }
    ToastWindow* toast =
        build(message, symbol, *screen, screens.converter(), hudsurface::compositingActive());
    s_panel = toast;
    toast->show();
    toast->raise();
    toast->scheduleFadeOut(duration, [toast] { fadeFinished(toast); });
}

void ToastHUD::fadeFinished(ToastWindow* toast) {
    // A newer toast may have taken the place meanwhile; then the registry stays as it is.
    if (s_panel == toast) s_panel = nullptr;
    toast->deleteLater();
}
