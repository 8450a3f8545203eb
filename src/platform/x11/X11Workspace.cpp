#include "platform/x11/X11Workspace.h"

#include "platform/x11/WallpaperLookup.h"

#include <QDesktopServices>

std::optional<QString> X11Workspace::desktopImagePath(const ScreenInfo& screen) const {
    return wallpaper::lookup(wallpaper::systemEnvironment(), screen.name);
}

bool X11Workspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
