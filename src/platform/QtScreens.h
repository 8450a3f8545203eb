#pragma once

#include "platform/Screens.h"

class QScreen;

// Screens as a Qt platform plugin reports them, primary first, converted to the bottom-left space.
// Backends differ only in where a screen's own pixels lie and in which screen the user works on.
class QtScreens : public Screens {
  public:
    std::vector<ScreenInfo> screens() const override;
    QPointF mouseLocation() const override;
    geometry::SpaceConverter converter() const override;

  protected:
    ScreenInfo infoOf(const QScreen* screen) const;
    // The screen's rectangle in device pixels of the whole desktop.
    virtual QRect pixelRectOf(const QScreen* screen, qreal scale) const = 0;
};
