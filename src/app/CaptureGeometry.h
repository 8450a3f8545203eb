#pragma once

#include "platform/Screens.h"

#include <QRect>
#include <QRectF>
#include <QSize>

#include <optional>
#include <vector>

// The arithmetic of the capture flows, apart from any window.
namespace capturegeometry {

// The first screen whose frame holds the point (left and bottom edges in, right and top out);
// else the main screen; else the first; none without screens.
std::optional<ScreenInfo> screenUnderMouse(const std::vector<ScreenInfo>& screens, const QPointF& mouse,
                                           const std::optional<ScreenInfo>& main);

// The pixel rectangle (top-left origin) of a rectangle given in a screen's own bottom-left points,
// for an image of that screen with the given scale and pixel height, rounded outwards.
QRect cropRect(const QRectF& rectInScreen, double scale, int pixelHeight);

// The part of an image that a crop rectangle covers; none when nothing of it is inside.
std::optional<QRect> clippedCrop(const QRect& crop, const QSize& imageSize);

// Where a repeated area is captured: the first screen meeting the stored global rectangle, and the
// rectangle in that screen's own coordinates.
struct RepeatTarget {
    ScreenInfo screen;
    QRectF rectInScreen;
};
std::optional<RepeatTarget> repeatTarget(const std::vector<ScreenInfo>& screens, const QRectF& globalRect);

// Pixels per point of an opened image: its pixel width over its width in points, at least 1.
double openedImageScale(int pixelWidth, double pointWidth);

} // namespace capturegeometry
