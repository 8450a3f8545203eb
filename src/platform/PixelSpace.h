#pragma once

#include "platform/Screens.h"

#include <QRect>
#include <QRectF>

#include <optional>
#include <vector>

// The system's own pixels (X root pixels) against the program's points. Each screen maps its own
// pixel rectangle onto its frame with its own scale, so a window is converted through the screen
// that holds most of it.
namespace pixelspace {

// The screen whose pixel rectangle overlaps `pixels` most; the earlier screen on ties, the first
// screen when none overlaps; none without screens.
std::optional<ScreenInfo> screenForPixels(const QRect& pixels, const std::vector<ScreenInfo>& screens);

// A rectangle of system pixels in the top-left point space. Without screens (or with a screen whose
// pixel rectangle is unknown) one pixel is one point.
QRectF pixelsToTopLeftPoints(const QRect& pixels, const std::vector<ScreenInfo>& screens);

} // namespace pixelspace
