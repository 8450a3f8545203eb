#include "app/AppDelegate.h"

#include "app/CaptureFlows.h"
#include "app/CommandLine.h"
#include "app/DeepLinks.h"
#include "app/DiagnosticFiles.h"
#include "app/LaunchAtLogin.h"
#include "app/LaunchToast.h"
#include "app/StatusMenu.h"
#include "app/TrayIconShown.h"
#include "hotkeys/HotkeyManager.h"
#include "hud/ToastHUD.h"
#include "platform/InputSynth.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/ScreenCapture.h"
#include "platform/Symbols.h"
#include "platform/TimingMarks.h"
#include "preferences/PreferencesWindowController.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

AppDelegate::AppDelegate(Settings& settings, Platform& platform, const QStringList& arguments,
                         QObject* parent)
    : QObject(parent), m_settings(settings), m_platform(platform), m_arguments(arguments) {}

AppDelegate::~AppDelegate() {
    delete m_statusItem;
    delete m_menu;
}

void AppDelegate::applicationDidFinishLaunching() {
    timingmarks::mark("launch: delegate starts");
    setupStatusItem();
    timingmarks::mark("launch: tray item shown");
    // Nothing else is needed to show the icon. The rest (the menu, the status file, the hotkey
    // grabs, the launch toast) is a burst of work for the cores and the X server; run at once it
    // competes with the tray embedding the icon, so it waits until the tray has shown it.
    if (m_statusItem && m_statusItem->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
        TrayIconShown::then(this, trayIconWaitMs, [this] { finishLaunching(); });
    else
        QTimer::singleShot(0, this, &AppDelegate::finishLaunching);
}

void AppDelegate::finishLaunching() {
    rebuildMenu();
    timingmarks::mark("launch: menu built");
    writeLaunchStatus();
    if (!m_platform.screenCapture().screenCaptureAllowed())
        m_platform.screenCapture().requestScreenCaptureAccess();
    registerHotkeys();
    PreferencesWindowController::setLoginItem(
        {launchatlogin::isEnabled,
         [](bool on) { launchatlogin::set(on, QApplication::applicationFilePath()); }});
    connect(&m_settings, &Settings::changed, this, &AppDelegate::defaultsChanged);
    if (!m_settings.boolValue(keys::noSplash))
        showToast(launchtoast::text(m_platform.capabilities().has(Capability::globalHotkeysByKey) ||
                                    m_platform.hotkeys().desktopShortcuts()),
                  QStringLiteral("camera.viewfinder"), 3.0);
    timingmarks::mark("launch: finished");
    emit launchFinished();
}

void AppDelegate::setupStatusItem() {
    m_statusItem = new QSystemTrayIcon(Symbols::icon(QStringLiteral("camera.viewfinder")));
    m_statusItem->setToolTip(QStringLiteral("Pictro"));
    // A click on the tray icon opens the menu too, not only the context click.
    connect(m_statusItem, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger && m_menu) m_menu->popup(QCursor::pos());
            });
    applyStatusItemVisibility();
}

void AppDelegate::rebuildMenu() {
    QMenu* old = m_menu;
    m_menu = statusmenu::build(*this, m_settings, m_platform.capabilities());
    connect(m_menu, &QMenu::aboutToShow, this,
            [this] { statusmenu::refreshLaunchItem(*m_menu, launchatlogin::isEnabled()); });
    if (m_statusItem) m_statusItem->setContextMenu(m_menu);
    if (old) old->deleteLater();
}

void AppDelegate::registerHotkeys() {
    QPointer<AppDelegate> self(this);
    HotkeyManager::shared().handler = [self](HotkeyAction action) {
        if (self) self->perform(action);
    };
    HotkeyManager::shared().installEventHandler();
    HotkeyManager::shared().reloadAll();
}

void AppDelegate::applyStatusItemVisibility() {
    if (m_statusItem) m_statusItem->setVisible(!m_settings.boolValue(keys::hideMenubarIcon));
}

void AppDelegate::writeLaunchStatus() {
    const QString text = diagnostics::launchStatusText(
        QApplication::applicationPid(), m_platform.screenCapture().screenCaptureAllowed(),
        m_platform.inputSynth().accessibilityTrusted(), QDateTime::currentDateTimeUtc());
    diagnostics::writeLaunchStatus(diagnostics::supportFolder(), text);
}

void AppDelegate::logEvent(const QString& message) {
    m_eventLog.append(message);
}

void AppDelegate::defaultsChanged() {
    // Settings may change on any thread; the tray item is touched on the main thread only.
    QPointer<AppDelegate> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self) self->applyStatusItemVisibility();
    });
}

void AppDelegate::reopen() {
    if (m_flows) m_flows->showApp();
}

void AppDelegate::perform(HotkeyAction action) {
    if (!m_flows) return;
    switch (action) {
    case HotkeyAction::fullscreen:
        m_flows->captureFullscreen();
        break;
    case HotkeyAction::area:
        m_flows->captureArea();
        break;
    case HotkeyAction::repeatArea:
        m_flows->repeatAreaCapture();
        break;
    case HotkeyAction::anyWindow:
        m_flows->captureAnyWindow();
        break;
    case HotkeyAction::activeWindow:
        m_flows->captureActiveWindow();
        break;
    case HotkeyAction::scrolling:
        m_flows->startScrolling(false);
        break;
    case HotkeyAction::showApp:
        m_flows->showApp();
        break;
    case HotkeyAction::ocr:
        m_flows->instantTextRecognition();
        break;
    }
}

void AppDelegate::menuCaptureScreen() {
    perform(HotkeyAction::fullscreen);
}
void AppDelegate::menuCaptureArea() {
    perform(HotkeyAction::area);
}
void AppDelegate::menuScrolling() {
    perform(HotkeyAction::scrolling);
}
void AppDelegate::menuScrollingUp() {
    if (m_flows) m_flows->startScrolling(true);
}
void AppDelegate::menuOCR() {
    perform(HotkeyAction::ocr);
}
void AppDelegate::menuRepeatArea() {
    perform(HotkeyAction::repeatArea);
}
void AppDelegate::menuActiveWindow() {
    perform(HotkeyAction::activeWindow);
}
void AppDelegate::menuAnyWindow() {
    perform(HotkeyAction::anyWindow);
}
void AppDelegate::menuDelayed() {
    if (m_flows) m_flows->captureDelayed();
}
void AppDelegate::menuOpenFile() {
    if (m_flows) m_flows->openFile();
}
void AppDelegate::menuLoadClipboard() {
    if (m_flows) m_flows->loadClipboard();
}

void AppDelegate::toggleLaunch() {
    launchatlogin::set(!launchatlogin::isEnabled(), QApplication::applicationFilePath());
    if (m_statusItem) rebuildMenu();
}

void AppDelegate::openLinks(const QStringList& links) {
    deeplinks::Target target;
    target.toast = [this](const QString& m, const QString& s, double d) { showToast(m, s, d); };
    target.log = [this](const QString& m) { logEvent(m); };
    target.start = [this](deeplinks::Action action) {
        if (!m_flows) return;
        switch (action) {
        case deeplinks::Action::areaCapture:
            m_flows->captureArea();
            break;
        case deeplinks::Action::fullscreenCapture:
            m_flows->captureFullscreen();
            break;
        case deeplinks::Action::windowCapture:
            m_flows->captureActiveWindow();
            break;
        case deeplinks::Action::scrollingCapture:
            m_flows->startScrolling(false);
            break;
        case deeplinks::Action::textRecognition:
            m_flows->instantTextRecognition();
            break;
        case deeplinks::Action::clipboardImage:
            m_flows->loadClipboard();
            break;
        case deeplinks::Action::nothing:
            break;
        }
    };
    deeplinks::handleRequest(links, m_settings.boolValue(keys::urlSchemeEnabled), target);
}

void AppDelegate::runActions(const QStringList& names) {
    for (const QString& name : names) {
        const auto action = commandline::actionNamed(name);
        if (!action) {
            qCWarning(lcApp, "ignored the unknown action \"%s\" of another launch", qPrintable(name));
            continue;
        }
        logEvent(QStringLiteral("action-handled ") + name);
        if (!m_flows) continue;
        using commandline::Action;
        switch (*action) {
        case Action::fullscreen:
            m_flows->captureFullscreen();
            break;
        case Action::area:
            m_flows->captureArea();
            break;
        case Action::repeatArea:
            m_flows->repeatAreaCapture();
            break;
        case Action::activeWindow:
            m_flows->captureActiveWindow();
            break;
        case Action::window:
            m_flows->captureAnyWindow();
            break;
        case Action::delayed:
            m_flows->captureDelayed();
            break;
        case Action::scrolling:
            m_flows->startScrolling(false);
            break;
        case Action::ocr:
            m_flows->instantTextRecognition();
            break;
        case Action::openFile:
            m_flows->openFile();
            break;
        case Action::clipboard:
            m_flows->loadClipboard();
            break;
        case Action::settings:
            openSettings();
            break;
        case Action::show:
            m_flows->showApp();
            break;
        }
    }
}

void AppDelegate::showToast(const QString& message, const QString& symbol, double seconds) {
    ToastHUD::show(message, symbol, seconds);
}

void AppDelegate::quit() {
    QApplication::quit();
}

void AppDelegate::openAbout() {
    PreferencesWindowController::show();
}

void AppDelegate::openSettings() {
    PreferencesWindowController::show();
}
