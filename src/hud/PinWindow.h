#pragma once

#include "hud/HudSurface.h"

#include "capture/CapturedImage.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <optional>
#include <vector>

// An image floating above ordinary windows: frameless, stays on top, focused by a click, never raising
// Pictro's other windows. Drag to move, wheel to zoom, Ctrl+C to copy, double click or Escape to
// close. The registry `pins()` owns every open pin; a closed pin leaves it at once and is deleted
// on a later turn of the event loop. Main thread only.
class PinWindow : public QWidget {
    Q_OBJECT

  public:
    // near = the bottom-left corner in the bottom-left point space of platform/Geometry.h;
    // none = centred on the main screen's visible frame.
    // Off the main thread it refuses, logs and answers null.
    static PinWindow* pin(const CapturedImage& image, std::optional<QPointF> near = std::nullopt);
    static const std::vector<PinWindow*>& pins();

    ~PinWindow() override;

    const CapturedImage& captured() const;
    double scaleFactor() const;

    // The window's frame in the bottom-left point space, before rounding to whole points.
    QRectF frame() const { return m_frame; }

    static constexpr double cornerRadius = 4.0;
    static constexpr double borderWidth = 1.0;
    static constexpr double borderAlpha = 0.25;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    PinWindow(const CapturedImage& image, std::optional<QPointF> near);

    void applyFrame(const QRectF& frame);
    // Lets the window manager give this window the keys (and asks for them), or no longer.
    void takeKeys(bool take);
    void copyToClipboard();
    void leaveRegistry();
    // The image to paint: the original when enlarged, else a smooth reduction to the window.

    CapturedImage m_captured;
    double m_scaleFactor = 1.0;
    QRectF m_frame;          // bottom-left space, unrounded, so zooming keeps the centre exactly
    QRect m_appliedGeometry; // what applyFrame last asked Qt for
    bool m_translucent = false;
    bool m_dragArmed = false;
    bool m_systemMoveTried = false;
    QPointF m_pressGlobal;
    QPoint m_pressWindowPos;
    hudsurface::ScaledImageCache m_displayed;

    static std::vector<PinWindow*> s_pins;
};
