#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Platform;

// One way of reaching a desktop, as the loader sees it before and after the application object.
struct PlatformBackend {
    QString name;          // "x11", "wayland": what --platform and PICTRO_PLATFORM take
    QByteArray qtPlatform; // the Qt platform plugin the program must run on ("xcb", "wayland")
    // Whether the session's display server answers; asked before the application object exists.
    std::function<bool()> displayReachable;
    // One line for the log when it does not ("cannot connect to the X display \":1\"").
    std::function<QString()> unreachableMessage;
    // The platform, made once the application object exists.
    std::function<std::unique_ptr<Platform>()> create;
    // What this session lets Pictro do, one "what: state" line each, for --check-permissions; asked
    // once the application object exists. Unset: screen capture and synthetic input are granted
    // wherever the display answers (as on X11).
    std::function<QStringList()> accessReport;
};

// The backends this build contains. Each backend library adds itself through
// registerBuiltinBackends (one line per backend, under its CMake option); tests add their own.
class PlatformBackends {
  public:
    static void add(PlatformBackend backend);
    static const PlatformBackend* find(const QString& name);
    static QStringList names();
    // Forgets every backend (tests).
    static void clear();

  private:
    static std::vector<PlatformBackend>& table();
};

// Adds every backend compiled into this build; once, before the loader runs.
void registerBuiltinBackends();
