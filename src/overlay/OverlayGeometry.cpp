#include "overlay/OverlayGeometry.h"

#include "platform/Geometry.h"

#include <QtGlobal>

#include <cmath>

namespace overlaygeometry {

namespace {
// The readout stays this far from the screen's right edge and bottom edge.
constexpr double labelGap = 8;
constexpr double labelInsideRight = 90;
constexpr double labelBelow = 24;
constexpr double labelBottomLimit = 4;
constexpr double labelInsideBottom = 6;
constexpr double badgeBelowTop = 28;
constexpr double bubblePadX = 6;
constexpr double bubblePadY = 3;
} // namespace

QRectF selectionRect(const QPointF& start, const QPointF& current) {
    return {std::min(start.x(), current.x()), std::min(start.y(), current.y()),
            std::abs(current.x() - start.x()), std::abs(current.y() - start.y())};
}

bool isUsableSelection(const QRectF& selection) {
    return selection.width() > minimumDragExtent && selection.height() > minimumDragExtent;
}

QString sizeLabelText(const QRectF& selection) {
    // Truncation, not rounding: 640.7 reads 640.
    const auto w = static_cast<long long>(std::trunc(selection.width()));
    const auto h = static_cast<long long>(std::trunc(selection.height()));
    return QStringLiteral("%1 \u00D7 %2").arg(w).arg(h);
}

QPointF sizeLabelOrigin(const QRectF& selection, const QSizeF& bounds) {
    const double maxX = selection.x() + selection.width();
    double x = maxX + labelGap;
    if (x > bounds.width() - labelInsideRight) x = maxX - labelInsideRight;
    double y = selection.y() - labelBelow;
    if (y < labelBottomLimit) y = selection.y() + labelInsideBottom;
    return {x, y};
}

QRectF bubbleRect(const QPointF& origin, const QSizeF& textSize) {
    return {origin.x() - bubblePadX, origin.y() - bubblePadY, textSize.width() + 2 * bubblePadX,
            textSize.height() + 2 * bubblePadY};
}

QPointF centredBubbleOrigin(const QPointF& origin, double textWidth) {
    return {origin.x() - textWidth / 2, origin.y()};
}

QString badgeText(const WindowInfo& window) {
    return window.title.isEmpty() ? window.ownerName : window.title;
}

QPointF badgeOrigin(const QRectF& hoveredRect) {
    return {hoveredRect.center().x(), hoveredRect.y() + hoveredRect.height() - badgeBelowTop};
}

QRectF windowRectInView(const WindowInfo& window, const ScreenInfo& screen, double primaryMaxY) {
    return window.frameAppKit(primaryMaxY).translated(-screen.frame.topLeft());
}

std::optional<WindowInfo> windowAt(const QPointF& viewPoint, const ScreenInfo& screen,
                                   const std::vector<WindowInfo>& windowsFrontToBack, double primaryMaxY) {
    // QRectF::topLeft() is (minX, minY) here: bottom-left space keeps y upwards.
    const QPointF global = viewPoint + screen.frame.topLeft();
    for (const WindowInfo& window : windowsFrontToBack) {
        if (geometry::containsHalfOpen(window.frameAppKit(primaryMaxY), global)) return window;
    }
    return std::nullopt;
}

QPointF widgetToView(const QPointF& widgetPoint, double viewHeight) {
    return {widgetPoint.x(), viewHeight - widgetPoint.y()};
}

QPointF viewToWidget(const QPointF& viewPoint, double viewHeight) {
    return widgetToView(viewPoint, viewHeight);
}

QRectF viewToWidget(const QRectF& viewRect, double viewHeight) {
    return {viewRect.x(), viewHeight - viewRect.y() - viewRect.height(), viewRect.width(), viewRect.height()};
}

QRect pixelsTouched(const QRectF& rect) {
    return rect.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRegion strokeBand(const QRectF& rect, double width) {
    const double half = width / 2;
    const QRegion outer(pixelsTouched(rect.adjusted(-half, -half, half, half)));
    const QRect inner = pixelsInside(rect.adjusted(half, half, -half, -half)).adjusted(1, 1, -1, -1);
    return inner.isEmpty() ? outer : outer - QRegion(inner);
}

QRect pixelsInside(const QRectF& rect) {
    const int left = static_cast<int>(std::ceil(rect.left()));
    const int top = static_cast<int>(std::ceil(rect.top()));
    const int right = static_cast<int>(std::floor(rect.right()));
    const int bottom = static_cast<int>(std::floor(rect.bottom()));
    if (right <= left || bottom <= top) return {};
    return QRect(left, top, right - left, bottom - top);
}

QRegion edgePixels(const QRectF& rect) {
    return QRegion(rect.toAlignedRect()) - QRegion(pixelsInside(rect));
}

std::optional<std::size_t> screenIndexAt(const QPointF& point, const std::vector<ScreenInfo>& screens) {
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (geometry::containsHalfOpen(screens[i].frame, point)) return i;
    }
    return std::nullopt;
}

} // namespace overlaygeometry
