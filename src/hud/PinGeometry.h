#pragma once

#include "platform/Screens.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

// The arithmetic of a pin window: where it opens and how the wheel zooms it. Frames are in the
// bottom-left point space of the screen list.
namespace pingeometry {

inline constexpr double minScale = 0.2;
inline constexpr double maxScale = 4.0;
// Each step multiplies the zoom by 1 + d ÷ this: 20 points give 10 %, one step of 200 doubles it.
inline constexpr double deltaPerDoubling = 200.0;
// A classic wheel reports 120 eighths of a degree per notch and no precise delta. One notch counts
// as 20 points of precise scrolling, so it zooms by 10 %, the same as a short swipe on a touchpad.
inline constexpr double pointsPerWheelNotch = 20.0;

// The image's size in points, at least one point on each side so a window always exists.
QSizeF windowSize(const QSizeF& imagePointSize, double scaleFactor);

// With `near`, the window's bottom-left corner is that point. Without, the window is centred on
// the screen's visible frame; with no screen either, it sits at the origin.
QRectF initialFrame(const QSizeF& size, const std::optional<QPointF>& near,
                    const std::optional<ScreenInfo>& screen);

// The vertical scroll in points of one wheel event: the precise delta when the device gives one,
// otherwise the notches of a classic wheel. Reversed when the user asked for it.
double scrollDelta(const QPoint& pixelDelta, const QPoint& angleDelta, bool reverse);

// One zoom step: scale × (1 + d ÷ 200), held within [0.2, 4].
double zoomedScale(double scaleFactor, double delta);

// `size` centred where `frame` is centred.
QRectF centredOn(const QRectF& frame, const QSizeF& size);

} // namespace pingeometry
