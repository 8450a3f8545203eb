#pragma once

#include <QColor>
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

// Sets up a fresh top-level widget as a HUD window. `translucent` asks for per-pixel alpha; pass
// compositingActive() unless drawing into an image.
void prepare(QWidget* window, bool translucent);

// Clips an opaque window to the rounded panel shape, so its corners show what lies beneath.
void applyRoundedMask(QWidget* window, const QRectF& panel, double radius);

// The dark HUD panel: a translucent dark fill that reads like a blurred backdrop under black at
// 0.35, or, opaque, the same colour as it looks over a dark desktop; with a faint light rim.
void paintDarkPanel(QPainter& painter, const QRectF& panel, double radius, bool translucent);

} // namespace hudsurface
