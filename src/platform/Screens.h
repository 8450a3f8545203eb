#pragma once

#include "platform/Geometry.h"

#include <QRect>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// One attached screen, in the bottom-left point space.
struct ScreenInfo {
    quint32 displayId = 0; // stable for as long as the screen stays attached
    QString name;
    QRectF frame;        // whole screen
    QRectF visibleFrame; // without panels and docks
    double scale = 1.0;  // pixels per point
    QRect pixelRect;     // the screen in the system's own pixels (X root pixels); empty when unknown

    bool operator==(const ScreenInfo& other) const = default;
};

class Screens {
  public:
    virtual ~Screens() = default;

    // Primary screen first, then the others in the system's order.
    virtual std::vector<ScreenInfo> screens() const = 0;
    // The screen the user is working on; none when no screen is attached.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;
    // The pointer, in the bottom-left point space.
    virtual QPointF mouseLocation() const = 0;
    // Conversions between Qt's global coordinates and the program's spaces.
    virtual geometry::SpaceConverter converter() const = 0;

    // Height used to convert between the top-left and the bottom-left spaces: the primary
    // screen's frame maxY, 0 with no screens.
    double primaryMaxY() const;
    // The main screen, else the first screen, else none.
    std::optional<ScreenInfo> mainOrFirstScreen() const;
    std::optional<ScreenInfo> screenWithId(quint32 displayId) const;
};
