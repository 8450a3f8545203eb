#pragma once

class QWidget;
class SettingsBinder;

// The two tabs that are text and little else.
namespace infotabs {

// Uploading: a single provider, "Disable Uploading"; the choice is only stored.
QWidget* uploadingTab(SettingsBinder& binder);
// About: the icon, the name and the version.
QWidget* aboutTab();

inline constexpr char versionText[] = "Version 1.0.3 — native for Linux on X11";

} // namespace infotabs
