#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Which backend a launch uses, decided from the session before the application object exists.
namespace platformchoice {

// What the session and the user say.
struct Session {
    QString requested;      // --platform or PICTRO_PLATFORM; empty for "whatever the session is"
    QString sessionType;    // XDG_SESSION_TYPE ("x11", "wayland", "tty", …)
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString display;        // DISPLAY
};

struct Choice {
    QString backend; // "x11" or "wayland"; empty when none fits
    QString error;   // one line for the log when none fits
};

// The session's own kind wins over the variables that happen to be set (a Wayland session sets
// DISPLAY too, for Xwayland); an explicit request wins over both. `built` names the backends this
// build contains.
Choice choose(const Session& session, const QStringList& built);

// The Qt platform plugin to run on: the backend's, unless the environment asks for a headless one
// (offscreen, minimal), as test and self-check runs do.
QByteArray qtPlatform(const QByteArray& environment, const QByteArray& backendPlatform);

} // namespace platformchoice
