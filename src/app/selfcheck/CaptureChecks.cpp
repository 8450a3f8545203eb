#include "app/selfcheck/SelfChecks.h"

#include "capture/WindowShot.h"

#include <QPainter>

namespace selfchecks {
namespace {

// A window-like capture: title bar, content, rounded (transparent) corners.
CapturedImage sampleWindow(int w, int h, double scale) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(0, 0, w, h), 10 * scale, 10 * scale);
    p.fillRect(QRectF(0, 10 * scale, w, 18 * scale), QColor(225, 225, 228));
    p.setBrush(QColor(236, 95, 90));
    p.drawEllipse(QPointF(14 * scale, 19 * scale), 5 * scale, 5 * scale);
    p.end();
    return CapturedImage{image, scale};
}

std::optional<QString> save(const QImage& image, const QDir& dir, const QString& name) {
    if (!image.save(dir.filePath(name))) return QStringLiteral("cannot write %1").arg(name);
    return std::nullopt;
}

std::optional<QString> checkSolid(const QDir& dir) {
    const CapturedImage out =
        windowshot::compose(sampleWindow(400, 300, 2.0), WindowBGStyle::solid, Qt::white, {});
    if (out.image.size() != QSize(592, 492))
        return mismatch("solid size", "592x492",
                        QStringLiteral("%1x%2").arg(out.image.width()).arg(out.image.height()));
    if (out.scale != 2.0) return mismatch("solid scale", "2", QString::number(out.scale));
    if (out.image.pixel(0, 0) != qRgb(255, 255, 255)) return QStringLiteral("solid margin is not the colour");
    // The shadow falls below the window: darker 4 points under its bottom edge than 4 above its top.
    const QColor below = out.image.pixelColor(296, 96 + 300 + 8), above = out.image.pixelColor(296, 96 - 8);
    if (below.lightness() >= above.lightness()) return QStringLiteral("no shadow below the window");
    return save(out.image, dir, QStringLiteral("window-solid.png"));
}

std::optional<QString> checkTrim(const QDir&) {
    const CapturedImage in = sampleWindow(400, 300, 2.0);
    const CapturedImage out = windowshot::compose(in, WindowBGStyle::trimShadow, Qt::white, {});
    if (out.image.cacheKey() != in.image.cacheKey() || out.image.width() != 400)
        return QStringLiteral("trimShadow changed the capture");
    return std::nullopt;
}

std::optional<QString> checkIndigo(const QDir& dir) {
    const CapturedImage out =
        windowshot::compose(sampleWindow(300, 200, 1.0), WindowBGStyle::wallpaper, {}, QImage());
    if (out.image.size() != QSize(396, 296))
        return mismatch("wallpaper size", "396x296",
                        QStringLiteral("%1x%2").arg(out.image.width()).arg(out.image.height()));
    if (out.image.pixelColor(1, 1) != windowshot::indigo())
        return mismatch("fallback", "indigo (88, 86, 214)", out.image.pixelColor(1, 1).name());
    return save(out.image, dir, QStringLiteral("window-wallpaper-fallback.png"));
}

std::optional<QString> checkTransparent(const QDir& dir) {
    const CapturedImage out =
        windowshot::compose(sampleWindow(300, 200, 1.0), WindowBGStyle::transparent, {}, QImage());
    if (qAlpha(out.image.pixel(0, 0)) != 0) return QStringLiteral("transparent margin is not transparent");
    return save(out.image, dir, QStringLiteral("window-transparent.png"));
}

} // namespace

std::vector<SelfCheck> captureChecks() {
    return {{QStringLiteral("windowshot-solid"), checkSolid},
            {QStringLiteral("windowshot-trim"), checkTrim},
            {QStringLiteral("windowshot-indigo"), checkIndigo},
            {QStringLiteral("windowshot-transparent"), checkTransparent}};
}

} // namespace selfchecks
