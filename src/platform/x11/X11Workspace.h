#pragma once

#include "platform/Workspace.h"

// The desktop's wallpaper setting where one can be read, and links opened by the desktop.
class X11Workspace : public Workspace {
  public:
    std::optional<QString> desktopImagePath(const ScreenInfo& screen) const override;
    bool openURL(const QUrl& url) override;
};
