#pragma once

#include <QString>

class QWidget;
class SettingsBinder;

// The two tabs that are text and little else.
namespace infotabs {

// Uploading: a single provider, "Disable Uploading"; the choice is only stored.
QWidget* uploadingTab(SettingsBinder& binder);
// About: the icon, the name and the version.
QWidget* aboutTab();

// "Version 1.0.3 — native for Linux on Wayland": the session Pictro runs in.
QString versionText();

} // namespace infotabs
