#include "hud/HudPlacement.h"

#include <algorithm>
#include <cmath>

namespace hudplacement {

QRectF toastFrame(const QSizeF& size, const ScreenInfo& screen) {
    const QRectF visible = screen.visibleFrame;
    return QRectF(visible.center().x() - size.width() * 0.5, visible.top() + toastBottomOffset, size.width(),
                  size.height());
}

QSizeF thumbnailSize(const QSizeF& imagePointSize) {
    const double w = imagePointSize.width();
    const double h = imagePointSize.height();
    if (!(w > 0.0) || !(h > 0.0) || !std::isfinite(w) || !std::isfinite(h))
        return QSizeF(thumbnailMinWidth, thumbnailMinHeight);
    const double f = std::min(thumbnailMaxWidth / w, 1.0);
    return QSizeF(std::max(w * f, thumbnailMinWidth), std::max(h * f, thumbnailMinHeight));
}

QRectF thumbnailFrame(const QSizeF& size, const ScreenInfo& screen) {
    const QRectF visible = screen.visibleFrame;
    return QRectF(visible.right() - size.width() - thumbnailEdgeOffset, visible.top() + thumbnailEdgeOffset,
                  size.width(), size.height());
}

QRectF aspectFit(const QSizeF& imageSize, const QRectF& bounds) {
    if (imageSize.isEmpty() || bounds.isEmpty()) return QRectF(bounds.center(), QSizeF(0, 0));
    const double f = std::min(bounds.width() / imageSize.width(), bounds.height() / imageSize.height());
    const QSizeF fitted(imageSize.width() * f, imageSize.height() * f);
    return QRectF(bounds.center().x() - fitted.width() * 0.5, bounds.center().y() - fitted.height() * 0.5,
                  fitted.width(), fitted.height());
}

QRect qtWindowGeometry(const QRectF& bottomLeftFrame, const geometry::SpaceConverter& converter) {
    const QRectF qt = converter.bottomLeftToQt(bottomLeftFrame);
    const int width = static_cast<int>(std::ceil(qt.width() - 1e-9));
    const int height = static_cast<int>(std::ceil(qt.height() - 1e-9));
    // Keep the bottom edge where the frame says: the height may have grown by rounding.
    const int left = static_cast<int>(std::lround(qt.left()));
    const int top = static_cast<int>(std::lround(qt.bottom())) - height;
    return QRect(left, top, width, height);
}

} // namespace hudplacement
