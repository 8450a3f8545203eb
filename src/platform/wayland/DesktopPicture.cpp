#include "platform/wayland/DesktopPicture.h"

#include <cmath>

namespace desktoppicture {

QRect layoutBounds(const QList<QRect>& outputs) {
    QRect bounds;
    for (const QRect& r : outputs)
        bounds = bounds.united(r);
    return bounds;
}

QImage outputPixels(const QImage& picture, const QRect& layout, const QRect& output, double scale) {
    if (picture.isNull() || layout.isEmpty() || output.isEmpty() || scale <= 0.0) return {};
    // The picture's own density. Width and height tell the same unless the layout changed between
    // the picture and now (an output unplugged during the capture): then no cut would be right.
    const double density = double(picture.width()) / layout.width();
    if (std::abs(density - double(picture.height()) / layout.height()) > 0.01) return {};
    const auto px = [density](double logical) { return static_cast<int>(std::lround(logical * density)); };
    const QRect cut(px(output.x() - layout.x()), px(output.y() - layout.y()), px(output.width()),
                    px(output.height()));
    if (!picture.rect().contains(cut)) return {};

    // One output is the whole picture: shared, not copied.
    QImage pixels =
        (cut == picture.rect() ? picture : picture.copy(cut)).convertToFormat(QImage::Format_RGB32);
    const QSize own(static_cast<int>(std::lround(output.width() * scale)),
                    static_cast<int>(std::lround(output.height() * scale)));
    if (pixels.size() != own) pixels = pixels.scaled(own, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pixels;
}

} // namespace desktoppicture
