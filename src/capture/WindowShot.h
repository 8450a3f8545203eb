#pragma once

#include "capture/CapturedImage.h"
#include "settings/SettingsEnums.h"

#include <QColor>
#include <QImage>
#include <QRectF>

// A window capture set on a background with a margin and a soft shadow of its own shape.
// Every length is in points, turned into pixels with the capture's scale.
namespace windowshot {

inline constexpr double marginPoints = 48.0;
inline constexpr double shadowOffsetPoints = 8.0; // downwards
inline constexpr double shadowBlurPoints = 24.0;
inline constexpr double shadowAlpha = 0.45;
// The system indigo, shown where no wallpaper can be had.
inline QColor indigo() {
    return QColor(88, 86, 214);
}

// The canvas size for a capture: its pixel size plus the margin on every side, truncated.
QSize canvasSize(const QSize& imageSize, double scale);

// Where a picture of `picture` size is drawn to cover `canvas` keeping its aspect ratio: scaled by
// the larger of the two ratios and centred, so the overflow is cut off evenly on both sides.
QRectF aspectFill(const QSizeF& picture, const QSizeF& canvas);

// The composed shot. `wallpaper` is used for the wallpaper style only; a null one means indigo.
// Returns the input unchanged for trimShadow, or when the canvas cannot be made.
CapturedImage compose(const CapturedImage& shot, WindowBGStyle style, const QColor& solidColor,
                      const QImage& wallpaper);

} // namespace windowshot
