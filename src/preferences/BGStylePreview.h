#pragma once

#include "settings/SettingsEnums.h"

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

class QPainter;

// The miniature of a window shot shown on a background-style card: a small dark window set on the
// style's backdrop by the same composition real window shots go through.
namespace bgstylepreview {

inline constexpr QSizeF previewSize{110, 72}; // points
inline constexpr double checkerSquare = 8;    // points
inline constexpr double cornerRadius = 9;     // of the preview's clip

QString label(WindowBGStyle style);
QString toolTip(WindowBGStyle style);

// The miniature window: 66 × 44 points, or 92 × 60 for the trimmed style, which has no padding.
QSizeF windowSize(WindowBGStyle style);
// The sample window bitmap at `pixelsPerPoint`: rounded, dark grey, with a title bar holding
// minimise, maximise and close at its right.
QImage sampleWindow(const QSizeF& points, double pixelsPerPoint);

// The preview, `previewSize` points at `pixelsPerPoint` (its device pixel ratio is set to it).
// For the transparent and trimmed styles its backdrop is left clear: the card draws the
// checkerboard or the near-empty fill underneath.
QImage render(WindowBGStyle style, const QColor& solidColor, double pixelsPerPoint);

// Grey at 0.15 behind squares of grey at 0.4 where row + column is even, from the top-left corner;
// the last row and column are cut by `size`.
void paintCheckerboard(QPainter& painter, const QSizeF& size);

} // namespace bgstylepreview
