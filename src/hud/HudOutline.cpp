#include "hud/HudOutline.h"

#include "hud/HudSurface.h"

#include <QColor>
#include <QPainter>

#include <algorithm>

namespace hudoutline {

void strokeContrastRim(QPainter& painter, const QRectF& bounds, double radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    hudsurface::strokeRoundedRim(painter, bounds, radius, 1.0, QColor(0, 0, 0, 170));
    hudsurface::strokeRoundedRim(painter, bounds.adjusted(1, 1, -1, -1), std::max(0.0, radius - 1), 1.0,
                                 QColor(255, 255, 255, 200));
    painter.restore();
}

} // namespace hudoutline
