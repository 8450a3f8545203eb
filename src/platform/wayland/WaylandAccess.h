#pragma once

#include <QStringList>

// What a Wayland session lets Pictro do, asked of the compositor and the desktop portals the way
// the captures, the scrolling capture, the hotkeys and the clipboard ask them, in the words of
// this desktop: one "what: state" line each, for --check-permissions.
namespace waylandaccess {

// Needs the application object, on Qt's Wayland platform.
QStringList report();

} // namespace waylandaccess
