#pragma once

#include <QPoint>

#include <QSizeF>
#include <QString>

// The editor window's arithmetic: how large it opens, what its labels say and how far it zooms.
// Sizes are in points; an image's point size is its pixel size divided by its scale.
namespace editorgeometry {

inline constexpr double toolbarHeight = 46.0;
inline constexpr double minContentWidth = 560.0;
inline constexpr double maxScreenShare = 0.9;

inline constexpr double minMagnification = 0.1;
inline constexpr double maxMagnification = 8.0;
inline constexpr double zoomInStep = 1.25;
inline constexpr double zoomOutStep = 0.8;

// The window's content size for an image on a screen whose visible area is `visible`: the image at
// full point size plus the toolbar when it fits, never narrower than 560 points unless 90 % of the
// visible width is less, and never more than 90 % of the visible area.
QSizeF initialContentSize(const QSizeF& imagePoints, const QSizeF& visible);

// "1440×900pt": the point size with fractions dropped.
QString sizeLabel(const QSizeF& imagePoints);

// "125%": the magnification as a whole percentage, halves rounded away from zero.
QString zoomLabel(double magnification);

// The magnification the editor opens at: 1 when 100 % is preferred, otherwise the image fitted
// into the visible area `clip` but never enlarged beyond 100 %.
double initialZoom(bool preferZoom100, const QSizeF& clip, const QSizeF& imagePoints);

double clampMagnification(double magnification);

// One key zoom step (× 1.25 in, × 0.8 out) within the limits.
double steppedZoom(double magnification, double factor);

// One wheel event's zoom: × (1 + d ÷ 120) within the limits, d negated when the direction is reversed.
double wheelZoom(double magnification, double delta, bool reverse);

// A classic wheel reports 120 eighths of a degree per notch and no precise delta; the formula
// above wants a scroll distance of a few points per event. One notch counts as 12, so it zooms by
// 10 %, the same step as in a pin window.
inline constexpr double wheelNotchDelta = 12.0;
// The d of one wheel event: the precise delta in points when the device gives one, else its notches.
double wheelDelta(const QPoint& pixelDelta, const QPoint& angleDelta);

} // namespace editorgeometry
