#pragma once

#include "capture/WindowInfo.h"
#include "platform/Screens.h"

#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

// The overlay view's geometry, kept free of widgets. "View space" is one screen's own points:
// origin at that screen's bottom-left corner, y upwards, bounds (0, 0, width, height).
namespace overlaygeometry {

// The rectangle spanned by the two drag corners, whichever way the drag went.
QRectF selectionRect(const QPointF& start, const QPointF& current);

// A drag counts only when it is more than 3 points wide and more than 3 points high; anything
// smaller is a click that wobbled.
inline constexpr double minimumDragExtent = 3.0;
bool isUsableSelection(const QRectF& selection);

// "640 × 480": the integral parts of the size in points.
QString sizeLabelText(const QRectF& selection);

// Where the size readout's bubble starts: to the right of and below the selection, moved inside
// it near the screen's right and bottom edges.
QPointF sizeLabelOrigin(const QRectF& selection, const QSizeF& bounds);

// The bubble's background around text measured at `textSize` drawn from `origin` (bottom-left
// of the text in view space).
QRectF bubbleRect(const QPointF& origin, const QSizeF& textSize);
// A centred bubble moves left by half its text width.
QPointF centredBubbleOrigin(const QPointF& origin, double textWidth);

// The name a window's badge shows: its title, else the application's name.
QString badgeText(const WindowInfo& window);
// The badge sits centred on the window, 28 points below its top edge.
QPointF badgeOrigin(const QRectF& hoveredRect);

// The frontmost window (the list is front to back) under a view-space point; none over the
// desktop. Edges are half-open so two windows sharing an edge never both claim the pointer.
std::optional<WindowInfo> windowAt(const QPointF& viewPoint, const ScreenInfo& screen,
                                   const std::vector<WindowInfo>& windowsFrontToBack, double primaryMaxY);

// A window's frame in one screen's view space.
QRectF windowRectInView(const WindowInfo& window, const ScreenInfo& screen, double primaryMaxY);

// View space <-> a widget's own coordinates (top-left origin, y downwards, same units).
QPointF widgetToView(const QPointF& widgetPoint, double viewHeight);
QPointF viewToWidget(const QPointF& viewPoint, double viewHeight);
QRectF viewToWidget(const QRectF& viewRect, double viewHeight);

// Pixels a drawing may touch, in a widget's pixels (for repainting no more than changed): a
// rectangle's bounds grown to whole pixels with one pixel to spare for antialiasing.
QRect pixelsTouched(const QRectF& rect);
// The band a pen of `width` stroking `rect` touches.
QRegion strokeBand(const QRectF& rect, double width);
// The pixels a rectangle's edges cut through: none when the edges lie between pixels.
QRegion edgePixels(const QRectF& rect);
// The whole pixels inside a rectangle.
QRect pixelsInside(const QRectF& rect);

// The index of the first screen whose frame holds a bottom-left-space point, if any.
std::optional<std::size_t> screenIndexAt(const QPointF& point, const std::vector<ScreenInfo>& screens);

} // namespace overlaygeometry
