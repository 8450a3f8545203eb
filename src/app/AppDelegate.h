#pragma once

#include "app/CaptureHistory.h"
#include "app/EventLog.h"
#include "capture/CapturedImage.h"
#include "settings/HotkeyAction.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

class QSystemTrayIcon;
class QMenu;
class Settings;
class Platform;
class CaptureFlows;

// The application controller: launched once, lives until the event loop ends. Owns the tray item
// and the last capture; every menu item, hotkey and link ends in one of its methods.
class AppDelegate : public QObject {
    Q_OBJECT
  public:
    AppDelegate(Settings& settings, Platform& platform, const QStringList& arguments,
                QObject* parent = nullptr);
    ~AppDelegate() override;

    // The launch sequence; call once after construction, on the main thread. It shows the tray
    // icon at once and finishes (menu, hotkeys, status file, launch toast) from the event loop,
    // shortly after, with `launchFinished`.
    void applicationDidFinishLaunching();

    void writeLaunchStatus();
    void logEvent(const QString& message);
    void defaultsChanged();
    void reopen();
    void quit();
    void openAbout();
    void openSettings();

    // Dispatch of a global hotkey.
    void perform(HotkeyAction action);
    // Menu actions.
    void menuCaptureScreen();
    void menuCaptureArea();
    void menuScrolling();
    void menuScrollingUp();
    void menuOCR();
    void menuRepeatArea();
    void menuActiveWindow();
    void menuAnyWindow();
    void menuDelayed();
    void menuOpenFile();
    void menuLoadClipboard();
    void toggleLaunch();
    // One open request of links of the program's scheme.
    void openLinks(const QStringList& links);
    // Actions of the command line (`pictro --action NAME`), by name, in order; each is logged.
    // They are the user's own commands, so the URL scheme setting does not gate them.
    void runActions(const QStringList& names);

    void setFlows(CaptureFlows* flows) { m_flows = flows; }
    void showToast(const QString& message, const QString& symbol, double seconds);

    std::optional<CapturedImage> lastCapture() const { return m_history.last(); }
    // What the flows record into; owned here for the life of the application.
    CaptureHistory& history() { return m_history; }
    EventLog& eventLog() { return m_eventLog; }

  signals:
    // The launch sequence is complete: the diagnostic files' folder exists and hotkeys are armed.
    void launchFinished();

  private:
    // The longest the rest of the launch waits for the tray to show the icon: longer than a tray
    // takes to embed it on a loaded machine, far shorter than anyone takes to reach for a hotkey.
    static constexpr int trayIconWaitMs = 100;
    void finishLaunching();
    void setupStatusItem();
    void applyStatusItemVisibility();
    void rebuildMenu();
    void registerHotkeys();

    Settings& m_settings;
    Platform& m_platform;
    QStringList m_arguments;
    QSystemTrayIcon* m_statusItem = nullptr;
    QMenu* m_menu = nullptr;
    CaptureFlows* m_flows = nullptr;
    CaptureHistory m_history;
    EventLog m_eventLog;
};
