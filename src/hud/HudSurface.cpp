#include "hud/HudSurface.h"

#include "hud/FloatingWindow.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace hudsurface {

bool compositingActive() {
    return floatingwindow::translucencyAvailable();
}

void prepare(QWidget* window, bool translucent, FloatingRole role) {
    floatingwindow::prepare(window, role);
    window->setAttribute(Qt::WA_TranslucentBackground, translucent);
    window->setAttribute(Qt::WA_NoSystemBackground, translucent);
}

void applyRoundedMask(QWidget* window, const QRectF& panel, double radius) {
    QPainterPath path;
    path.addRoundedRect(panel, radius, radius);
    window->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void paintDarkPanel(QPainter& painter, const QRectF& panel, double radius, bool translucent) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(panel, radius, radius);
    // Backdrop: a dark material, then black at 0.35 over it.
    painter.fillPath(path, translucent ? QColor(44, 44, 46, 190) : QColor(40, 40, 42));
    painter.fillPath(path, QColor(0, 0, 0, static_cast<int>(0.35 * 255)));
    // A faint rim keeps the edge readable on dark backgrounds.
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    painter.restore();
}

void beginRoundedSurface(QPainter& painter, const QRectF& bounds, double radius, bool translucent) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (translucent) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(bounds, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    QPainterPath clip;
    clip.addRoundedRect(bounds, radius, radius);
    painter.save();
    painter.setClipPath(clip);
}

void strokeRoundedRim(QPainter& painter, const QRectF& bounds, double radius, double width,
                      const QColor& color) {
    const double inset = width * 0.5;
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);
}

const QImage& ScaledImageCache::at(const QImage& source, QSize pixels, qreal dpr, bool originalWhenEnlarged) {
    if (originalWhenEnlarged && pixels.width() >= source.width() && pixels.height() >= source.height()) {
        m_scaled = QImage();
        return source;
    }
    if (m_scaled.size() != pixels && !source.isNull()) {
        m_scaled = source.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(dpr);
    }
    return m_scaled;
}

QSize devicePixels(const QSizeF& points, qreal dpr) {
    return QSize(std::max(1, static_cast<int>(std::lround(points.width() * dpr))),
                 std::max(1, static_cast<int>(std::lround(points.height() * dpr))));
}

} // namespace hudsurface
