#pragma once

#include <QString>

// Start at login through an XDG autostart entry ($XDG_CONFIG_HOME/autostart/pictro.desktop).
namespace launchatlogin {

QString entryPath();
// True while an enabled entry exists (a user may disable one with Hidden=true in the file).
bool isEnabled();
// Writes or removes the entry; on failure logs "Pictro: launch-at-login failed: …" and returns false.
bool set(bool enabled, const QString& executable);

} // namespace launchatlogin
