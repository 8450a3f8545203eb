#pragma once

#include "scrolling/ScrollDirection.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

// The fixed arithmetic of one scrolling capture: how far each step scrolls, how long it waits,
// and where it stops.
namespace scrollstep {

// Wait after moving the pointer, before the first frame.
inline constexpr int settleMilliseconds = 200;
// No capture takes more frames than this.
inline constexpr int maximumFrames = 250;
// A smaller height limit than this counts as this.
inline constexpr qint64 lowestMaximumHeight = 1000;

// Seconds to wait after each scroll: 1.07 s at speed 0 down to 0.32 s at speed 1 and above; a
// negative speed waits the longest.
double waitSeconds(double speed);
int waitMilliseconds(double speed);

// The height limit in pixels for the stored setting.
qint64 maximumHeight(qint64 setting);

// Points to scroll per step for a region of that height: 68 % of it, truncated.
int distance(double regionHeightPoints);

// The wheel value of one step: negative for `down`, positive for `up`, negated when the user
// scrolls the other way round.
int wheelDelta(ScrollDirection direction, int distance, bool reverse);

// The label's text while nothing has been stitched yet, and after `totalHeight` pixels.
QString startText();
QString progressText(int totalHeightPixels, double scale);

// A sample of the frame's bytes hashed: equal frames give equal values within one run; 0 for a
// frame without pixels. At most 4096 to 8191 bytes are read.
quint64 quickHash(const QImage& frame);

} // namespace scrollstep
