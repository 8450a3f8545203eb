#pragma once

#include "capture/CapturedImage.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

class QSystemTrayIcon;
class QMenu;
class Settings;
class Platform;

// The application controller: launched once, lives until the event loop ends. Owns the tray item
// and the last capture; every menu item, hotkey and link ends in one of its methods.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    AppDelegate(Settings& settings, Platform& platform, const QStringList& arguments, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The launch sequence; call once after construction, on the main thread.
    void applicationDidFinishLaunching();

    void writeLaunchStatus();
    void logEvent(const QString& message);
    void defaultsChanged();
    void reopen();
    void quit();
    void openAbout();
    void openSettings();

    QSystemTrayIcon* statusItem() const { return m_statusItem; }
    const std::optional<CapturedImage>& lastCapture() const { return m_lastCapture; }
    void setLastCapture(const CapturedImage& image) { m_lastCapture = image; }

private:
    void setupStatusItem();
    void applyStatusItemVisibility();

    Settings& m_settings;
    Platform& m_platform;
    QStringList m_arguments;
    QSystemTrayIcon* m_statusItem = nullptr;
    QMenu* m_menu = nullptr;
    std::optional<CapturedImage> m_lastCapture;
};
