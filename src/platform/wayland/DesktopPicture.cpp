#include "platform/wayland/DesktopPicture.h"

#include <cmath>

namespace desktoppicture {

QRect layoutBounds(const QList<QRect>& outputs) {
    QRect bounds;
    for (const QRect& r : outputs) bounds = bounds.united(r);
    return bounds;
}

QImage outputPixels(const QImage& picture, const QRect& layout, const QRect& output, double scale) {
    if (picture.isNull() || layout.isEmpty() || output.isEmpty() || scale <= 0.0) return {};
    // The picture's own density, from its width; the height tells the same on a sound picture.
    const double density = double(picture.width()) / layout.width();
    const auto px = [density](double logical) { return static_cast<int>(std::lround(logical * density)); };
    const QRect cut(px(output.x() - layout.x()), px(output.y() - layout.y()), px(output.width()),
                    px(output.height()));
    if (!picture.rect().contains(cut)) return {};

    QImage pixels = picture.copy(cut).convertToFormat(QImage::Format_RGB32);
    const QSize own(static_cast<int>(std::lround(output.width() * scale)),
                    static_cast<int>(std::lround(output.height() * scale)));
    if (pixels.size() != own) pixels = pixels.scaled(own, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pixels;
}

} // namespace desktoppicture
