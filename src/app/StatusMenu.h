#pragma once

#include <QObject>

class QMenu;
class AppDelegate;
class Settings;

// The tray item's menu: capture commands, the "More" submenu of the rarer ones, and the
// application items. Shortcut labels show the bindings in force when the menu is built.
namespace statusmenu {

// A new menu whose items call the delegate; the caller owns it.
QMenu* build(AppDelegate& delegate, const Settings& settings);

// Sets the check mark of "Launch at Startup", if the menu has that item.
void refreshLaunchItem(QMenu& menu, bool launchAtLogin);

} // namespace statusmenu
