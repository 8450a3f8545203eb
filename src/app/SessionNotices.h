#pragma once

#include <QString>

// What Pictro tells a person when the session keeps something from it, in the words of the
// session it runs in (named as the backends name themselves: "x11", "wayland"), so nobody on one
// desktop is sent looking for the other's settings.
namespace sessionnotices {

// "X11", "Wayland": the session's name as a person reads it.
QString sessionName(const QString& backend);

struct Notice {
    QString toast;  // one line
    QString detail; // what to do about it
};

// The screen could not be read because the session refused it.
Notice screenRefused(const QString& backend);

// The session's way to the screen is missing or does not answer.
QString screenUnavailable(const QString& backend);

// Scrolling capture cannot post the wheel events it needs.
QString syntheticInputMissing(const QString& backend);

} // namespace sessionnotices
