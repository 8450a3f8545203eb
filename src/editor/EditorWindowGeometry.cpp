#include "editor/EditorWindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace editorgeometry {

QSizeF initialContentSize(const QSizeF& imagePoints, const QSizeF& visible) {
    const double width =
        std::min(maxScreenShare * visible.width(), std::max(minContentWidth, imagePoints.width()));
    const double height =
        std::min(maxScreenShare * visible.height() - toolbarHeight, imagePoints.height()) + toolbarHeight;
    return {width, height};
}

QString sizeLabel(const QSizeF& imagePoints) {
    const auto whole = [](double v) { return QString::number(static_cast<qint64>(std::trunc(v))); };
    return whole(imagePoints.width()) + QChar(0x00D7) + whole(imagePoints.height()) + QStringLiteral("pt");
}

QString zoomLabel(double magnification) {
    // std::llround rounds halves away from zero.
    return QString::number(std::llround(100.0 * magnification)) + QLatin1Char('%');
}

double initialZoom(bool preferZoom100, const QSizeF& clip, const QSizeF& imagePoints) {
    if (preferZoom100) return 1.0;
    // An empty image has nothing to fit; 0 ÷ 0 must not become the magnification.
    if (imagePoints.width() <= 0 || imagePoints.height() <= 0) return 1.0;
    const double fit =
        std::min({1.0, clip.height() / imagePoints.height(), clip.width() / imagePoints.width()});
    return clampMagnification(fit);
}

double clampMagnification(double magnification) {
    if (std::isnan(magnification)) return minMagnification;
    return std::clamp(magnification, minMagnification, maxMagnification);
}

double steppedZoom(double magnification, double factor) {
    return clampMagnification(magnification * factor);
}

double wheelZoom(double magnification, double delta, bool reverse) {
    const double d = reverse ? -delta : delta;
    return clampMagnification(magnification * (1.0 + d / 120.0));
}

double wheelDelta(const QPoint& pixelDelta, const QPoint& angleDelta) {
    if (!pixelDelta.isNull()) return pixelDelta.y();
    return angleDelta.y() / 120.0 * wheelNotchDelta;
}

} // namespace editorgeometry
