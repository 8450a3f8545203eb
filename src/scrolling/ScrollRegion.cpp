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
