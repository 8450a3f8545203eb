#include "hud/HudSurface.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <qpa/qplatformnativeinterface.h>

namespace hudsurface {

bool compositingActive() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!screen || !native) return false;
    // The xcb platform answers with a non-null pointer while a compositing manager owns the
    // screen's _NET_WM_CM selection; other platforms do not know the resource and answer null.
    return native->nativeResourceForScreen(QByteArrayLiteral("compositingenabled"), screen) != nullptr;
}

void prepare(QWidget* window, bool translucent) {
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                           Qt::NoDropShadowWindowHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    window->setFocusPolicy(Qt::NoFocus);
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

} // namespace hudsurface
