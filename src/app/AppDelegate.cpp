#include "app/AppDelegate.h"

#include "app/DiagnosticFiles.h"
#include "app/SelfTest.h"
#include "platform/InputSynth.h"
#include "platform/Platform.h"
#include "platform/ScreenCapture.h"
#include "platform/Symbols.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

AppDelegate::AppDelegate(Settings& settings, Platform& platform, const QStringList& arguments, QObject* parent)
    : QObject(parent), m_settings(settings), m_platform(platform), m_arguments(arguments) {}

AppDelegate::~AppDelegate() {
    delete m_statusItem;
    delete m_menu;
}

void AppDelegate::applicationDidFinishLaunching() {
    setupStatusItem();
    writeLaunchStatus();
    if (!m_platform.screenCapture().screenCaptureAllowed()) m_platform.screenCapture().requestScreenCaptureAccess();
    connect(&m_settings, &Settings::changed, this, &AppDelegate::defaultsChanged);
    uitest::runIfRequested(m_arguments);
}

void AppDelegate::setupStatusItem() {
    m_statusItem = new QSystemTrayIcon(Symbols::icon(QStringLiteral("camera.viewfinder")));
    m_statusItem->setToolTip(QStringLiteral("Pictro"));
    m_menu = new QMenu();
    m_menu->addAction(QStringLiteral("Quit"), this, &AppDelegate::quit);
    m_statusItem->setContextMenu(m_menu);
    applyStatusItemVisibility();
}

void AppDelegate::applyStatusItemVisibility() {
    if (m_statusItem) m_statusItem->setVisible(!m_settings.boolValue(keys::hideMenubarIcon));
}

void AppDelegate::writeLaunchStatus() {
    const QString text = diagnostics::launchStatusText(QApplication::applicationPid(),
                                                       m_platform.screenCapture().screenCaptureAllowed(),
                                                       m_platform.inputSynth().accessibilityTrusted(),
                                                       QDateTime::currentDateTimeUtc());
    diagnostics::writeLaunchStatus(diagnostics::supportFolder(), text);
}

void AppDelegate::logEvent(const QString& message) {
    diagnostics::appendEventLine(diagnostics::supportFolder(),
                                 diagnostics::eventLine(message, QDateTime::currentDateTimeUtc()));
}

void AppDelegate::defaultsChanged() {
    // Settings may change on any thread; the tray item is touched on the main thread only.
    QPointer<AppDelegate> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self) self->applyStatusItemVisibility();
    });
}

void AppDelegate::reopen() {
    // Opening the editor and the preferences window arrive with their windows.
}

void AppDelegate::quit() { QApplication::quit(); }

void AppDelegate::openAbout() {}

void AppDelegate::openSettings() {}
