#pragma once

#include "platform/Capabilities.h"

#include <QObject>

class QMenu;
class AppDelegate;
class Settings;

// The tray item's menu: capture commands, the "More" submenu of the rarer ones, and the
// application items. Shortcut labels show the bindings in force when the menu is built.
namespace statusmenu {

// A new menu whose items call the delegate; the caller owns it. Items whose action needs a
// capability the desktop lacks are disabled with the reason as their tooltip.
QMenu* build(AppDelegate& delegate, const Settings& settings,
             const Capabilities& capabilities = Capabilities::all());

// Sets the check mark of "Launch at Startup", if the menu has that item.
void refreshLaunchItem(QMenu& menu, bool launchAtLogin);

} // namespace statusmenu
