#pragma once

#include "platform/FloatingWindows.h"

#include <QColor>
#include <QImage>
#include <QRectF>

class QWidget;
class QPainter;

// What the toast and the thumbnail share as floating windows: they never take focus, stay above
// other windows — full-screen ones too, so the window manager is bypassed —, and are translucent
// only where a compositing manager can show translucency.
namespace hudsurface {

// True when a compositing manager runs on the screen, so per-pixel alpha shows what lies beneath.
// Without one, X11 fills a translucent window's clear pixels with black.
bool compositingActive();

// Sets up a fresh top-level widget as a HUD window of the role (toast or thumbnail), made the way
// the platform floats windows. `translucent` asks for per-pixel alpha; pass compositingActive()
// unless drawing into an image.
void prepare(QWidget* window, bool translucent, FloatingRole role);

// Clips an opaque window to the rounded panel shape, so its corners show what lies beneath.
void applyRoundedMask(QWidget* window, const QRectF& panel, double radius);

// The dark HUD panel: a translucent dark fill that reads like a blurred backdrop under black at
// 0.35, or, opaque, the same colour as it looks over a dark desktop; with a faint light rim.
void paintDarkPanel(QPainter& painter, const QRectF& panel, double radius, bool translucent);

// Starts painting a window whose corners are rounded: clears it where it is translucent, then
// clips to the rounded shape (restore the painter to draw outside the clip).
void beginRoundedSurface(QPainter& painter, const QRectF& bounds, double radius, bool translucent);

// A light rim of `width` points just inside the rounded bounds.
void strokeRoundedRim(QPainter& painter, const QRectF& bounds, double radius, double width,
                      const QColor& color);

// A smoothly scaled copy of an image at the size it is drawn, made once per size: filtering a
// large capture on every paint would be slow, and the painter's own downscaling is coarse.
class ScaledImageCache {
  public:
    // The image to draw into `pixels` device pixels. With `originalWhenEnlarged`, a target at
    // least as large as the source draws the source itself (a full-size enlarged copy of a big
    // capture would take hundreds of megabytes; the painter filters only what is exposed).
    const QImage& at(const QImage& source, QSize pixels, qreal dpr, bool originalWhenEnlarged = false);

  private:
    QImage m_scaled;
};

// The device-pixel size of a rectangle in points, never empty.
QSize devicePixels(const QSizeF& points, qreal dpr);

} // namespace hudsurface
