#pragma once

#include "platform/QtScreens.h"

// Screens as Qt's xcb platform reports them (RandR monitors).
class X11Screens : public QtScreens {
  public:
    std::optional<ScreenInfo> mainScreen() const override;

  protected:
    QRect pixelRectOf(const QScreen* screen, qreal scale) const override;
};
