#pragma once

#include "platform/Geometry.h"
#include "platform/Screens.h"

#include <QRect>
#include <QRectF>
#include <QSizeF>

// Where the transient HUD windows go and how big the thumbnail is. Everything here is in points;
// frames are in the bottom-left space of the screen list.
namespace hudplacement {

// The toast sits centred on the screen's visible frame, this far above its bottom edge.
inline constexpr double toastBottomOffset = 60.0;
// The thumbnail keeps this distance from the right and bottom edges of the visible frame.
inline constexpr double thumbnailEdgeOffset = 20.0;
inline constexpr double thumbnailMaxWidth = 260.0;
inline constexpr double thumbnailMinWidth = 60.0;
inline constexpr double thumbnailMinHeight = 40.0;

QRectF toastFrame(const QSizeF& size, const ScreenInfo& screen);

// Shrinks to at most 260 pt wide (never enlarges), then raises each side to its minimum.
// An empty or degenerate image gives the minimum window.
QSizeF thumbnailSize(const QSizeF& imagePointSize);
QRectF thumbnailFrame(const QSizeF& size, const ScreenInfo& screen);

// The image's rectangle when fitted, proportions kept, centred inside `bounds`.
QRectF aspectFit(const QSizeF& imageSize, const QRectF& bounds);

// A frame of the bottom-left space as the integral geometry a Qt top-level window takes.
// The size is rounded up so the content always fits; the position is rounded to the nearest point.
QRect qtWindowGeometry(const QRectF& bottomLeftFrame, const geometry::SpaceConverter& converter);

} // namespace hudplacement
