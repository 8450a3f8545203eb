#include "preferences/PreferencesWindowController.h"

#include "hud/WindowIdentity.h"
#include "preferences/PreferencesWindow.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QScreen>

#include <memory>

namespace {

std::unique_ptr<PreferencesWindow>& instance() {
    static std::unique_ptr<PreferencesWindow> window;
    return window;
}

std::optional<PreferencesServices>& configured() {
    static std::optional<PreferencesServices> services;
    return services;
}

LoginItem& loginItem() {
    static LoginItem item;
    return item;
}

void centre(QWidget& window) {
    if (QScreen* screen = QApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

void PreferencesWindowController::show() {
    auto& window = instance();
    if (!window) {
        windowidentity::prepareApplication();
        PreferencesServices services = configured() ? *configured() : PreferencesServices::standard();
        if (!services.loginItem.isEnabled) services.loginItem = loginItem();
        window = std::make_unique<PreferencesWindow>(Settings::shared(), services);
        window->setObjectName(QStringLiteral("Preferences"));
        centre(*window);
        // Widgets must go before the application object does, not with the static storage.
        QObject::connect(
            qApp, &QCoreApplication::aboutToQuit, qApp, [] { instance().reset(); }, Qt::SingleShotConnection);
    }
    window->show();
    window->showNormal();
    window->raise();
    window->activateWindow();
}

void PreferencesWindowController::setLoginItem(LoginItem item) {
    loginItem() = std::move(item);
}

void PreferencesWindowController::setServices(PreferencesServices services) {
    configured() = std::move(services);
}

PreferencesWindow* PreferencesWindowController::window() {
    return instance().get();
}

void PreferencesWindowController::destroy() {
    instance().reset();
}
