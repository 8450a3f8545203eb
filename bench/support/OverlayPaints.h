#pragma once

#include "overlay/SelectionOverlay.h"
#include "overlay/SelectionOverlayView.h"

#include <QEvent>
#include <QObject>

#include <set>

// Counts the overlay views whose paint event has been delivered (install on the application).
class OverlayPaintWatcher : public QObject {
  public:
    std::set<QObject*> painted;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<SelectionOverlayView*>(watched))
            painted.insert(watched);
        return false;
    }

    // Every window of the current overlay has had its first paint.
    bool allPainted() const {
        SelectionOverlay* o = SelectionOverlay::current();
        return o && !o->windows().empty() && painted.size() >= o->windows().size();
    }
};
