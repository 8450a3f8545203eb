#include "scrolling/ScrollRegion.h"

#include "platform/Geometry.h"

#include <algorithm>

namespace scrollregion {

QRect frameCutRect(const QRectF& region, double scale, int imageHeight) {
    const QRectF pixels(scale * region.left(), scale * (imageHeight / scale - region.bottom()),
                        scale * region.width(), scale * region.height());
    return geometry::integralRect(pixels).toRect();
}

QPointF pointerTarget(const QRectF& region, const QRectF& screenFrame, double primaryMaxY) {
    const QPointF centre = region.center() + screenFrame.topLeft();
    return geometry::bottomLeftToTopLeft(centre, primaryMaxY);
}

std::optional<QPointF> parkingPoint(const QRectF& region, const QRectF& screenFrame, double primaryMaxY) {
    const QRectF area = geometry::bottomLeftToTopLeft(region.translated(screenFrame.topLeft()), primaryMaxY);
    const QRectF screen = geometry::bottomLeftToTopLeft(screenFrame, primaryMaxY);
    const QPointF centre = area.center();
    // A pointer's image hangs right and down from its hot spot, so the room needed is the same
    // clearance on every side, kept from the screen's far edges too.
    const QPointF candidates[] = {
        {centre.x(), area.bottom() + parkingClearance},
        {centre.x(), area.top() - parkingClearance},
        {area.left() - parkingClearance, centre.y()},
        {area.right() + parkingClearance, centre.y()},
    };
    const QRectF inside = screen.adjusted(0, 0, -parkingClearance, -parkingClearance);
    for (const QPointF& p : candidates)
        if (inside.contains(p)) return p;
    return std::nullopt;
}

BorderLayout borderLayout(const QRectF& region, const QRectF& screen, QSize labelSize) {
    BorderLayout layout;
    // One point of margin covers the rounding of a fractional scale, where the cut pixels may
    // reach a little past the region's points.
    layout.hole = geometry::integralRect(region).toRect().adjusted(-1, -1, 1, 1);
    layout.ring = layout.hole.adjusted(-borderWidth, -borderWidth, borderWidth, borderWidth);
    layout.window = layout.ring;

    const QRect screenRect = geometry::integralRect(screen).toRect();
    const int maxX = screenRect.x() + screenRect.width() - labelSize.width();
    const int x = std::max(screenRect.x(), std::min(layout.ring.x(), maxX));
    const QRect below(QPoint(x, layout.ring.y() + layout.ring.height()), labelSize);
    const QRect above(QPoint(x, layout.ring.y() - labelSize.height()), labelSize);
    if (screenRect.contains(below))
        layout.label = below;
    else if (screenRect.contains(above))
        layout.label = above;
    if (layout.label) layout.window = layout.window.united(*layout.label);
    return layout;
}

} // namespace scrollregion
