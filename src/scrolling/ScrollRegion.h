#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

#include <optional>

// Where a scrolling capture's region lies in each of the spaces it meets: the screen's pixels,
// the pointer's top-left space and the border window's Qt coordinates.
namespace scrollregion {

// The region (points, origin at its screen's bottom-left corner, y upwards) as a pixel rectangle
// of that screen's image, rounded outward to whole pixels.
QRect frameCutRect(const QRectF& region, double scale, int imageHeight);

// The region's centre in the top-left space, for the pointer.
QPointF pointerTarget(const QRectF& region, const QRectF& screenFrame, double primaryMaxY);

// Where the pointer can wait while a frame is taken, out of the pictures' way: on the region's
// screen, clear of the region by more than a pointer's image, below it, else above, left or
// right; none when the region leaves no such room. In the top-left space, like pointerTarget.
std::optional<QPointF> parkingPoint(const QRectF& region, const QRectF& screenFrame, double primaryMaxY);
inline constexpr double parkingClearance = 64;

// The border window, all in Qt's global coordinates. The ring and the label stay outside the
// pixels that are cut for each frame, so they never show up in the stitched image.
struct BorderLayout {
    QRect window;               // bounding box of ring and label
    QRect hole;                 // left clear: the region rounded outward, plus a point of margin
    QRect ring;                 // outer edge of the ring
    std::optional<QRect> label; // below the ring, else above it, else nowhere
};

inline constexpr int borderWidth = 3;
inline constexpr QSize defaultLabelSize{210, 18};

// `region` and `screen` in Qt's global coordinates (points, y downwards); `labelSize` is what the
// progress text needs in the label's font.
BorderLayout borderLayout(const QRectF& region, const QRectF& screen, QSize labelSize = defaultLabelSize);

} // namespace scrollregion
