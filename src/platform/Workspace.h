#pragma once

#include "platform/Screens.h"

#include <QString>
#include <QUrl>

#include <optional>

// The desktop around the program: its wallpaper and the opening of links.
class Workspace {
  public:
    virtual ~Workspace() = default;

    // The file of the screen's current desktop picture; none where it cannot be found out.
    virtual std::optional<QString> desktopImagePath(const ScreenInfo& screen) const = 0;
    // Opens a URL with the desktop's handler for it; false when nothing handles it.
    virtual bool openURL(const QUrl& url) = 0;
};
