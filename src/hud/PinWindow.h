#pragma once

#include "capture/CapturedImage.h"

#include <QPointF>
#include <QWidget>

#include <optional>
#include <vector>

// An image floating above ordinary windows: frameless, stays on top, focusable, never raising
// Pictro's other windows. Drag to move, wheel to zoom, Ctrl+C to copy, double click or Escape to
// close. The registry `pins()` owns every open pin; a closed pin leaves it at once and is deleted
// on a later turn of the event loop. Main thread only.
class PinWindow : public QWidget {
    Q_OBJECT

  public:
    // near = the bottom-left corner in the bottom-left point space of platform/Geometry.h;
    // none = centred on the main screen's visible frame.
    static PinWindow* pin(const CapturedImage& image, std::optional<QPointF> near = std::nullopt);
    static const std::vector<PinWindow*>& pins();

    const CapturedImage& captured() const;
    double scaleFactor() const;

  protected:
    PinWindow(const CapturedImage& image, std::optional<QPointF> near);

  private:
    CapturedImage m_captured;
    double m_scaleFactor = 1.0;

    static std::vector<PinWindow*> s_pins;
};
