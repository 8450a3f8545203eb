#pragma once

#include "overlay/OverlayWindow.h"
#include "overlay/SelectionOverlay.h"
#include "overlay/SelectionOverlayView.h"

#include <QEvent>
#include <QObject>

#include <set>

// Counts the overlay windows that have had a paint event delivered, to the view or, where the
// window paints on screen, to the window itself (install on the application).
class OverlayPaintWatcher : public QObject {
  public:
    std::set<QObject*> painted;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        if (qobject_cast<SelectionOverlayView*>(watched) || qobject_cast<OverlayWindow*>(watched))
            painted.insert(static_cast<QWidget*>(watched)->window());
        return false;
    }

    // Every window of the current overlay has had its first paint.
    bool allPainted() const {
        SelectionOverlay* o = SelectionOverlay::current();
        return o && !o->windows().empty() && painted.size() >= o->windows().size();
    }
};
