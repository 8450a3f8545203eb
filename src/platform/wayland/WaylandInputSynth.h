#pragma once

#include "platform/InputSynth.h"

#include <functional>
#include <memory>

class WaylandVirtualPointer;

// Synthetic input on Wayland: where the compositor offers a virtual pointer, pointer warps and
// wheel notches go through it and the window under the pointer receives them as the user's own;
// elsewhere nothing is posted. Keys outside Pictro's own windows are never seen.
class WaylandInputSynth : public InputSynth {
  public:
    // `afterInput` runs once something was posted: the desktop may look different from then on.
    explicit WaylandInputSynth(std::function<void()> afterInput = {});
    ~WaylandInputSynth() override;

    // Whether the compositor offers the virtual pointer; asked once.
    bool canPost() const;

    bool accessibilityTrusted() const override { return canPost(); }
    void requestAccessibilityTrust() override {}
    void warpPointer(const QPointF& topLeftPoint) override;
    bool postWheelClicks(int clicks) override;
    bool keyIsDown(quint32) const override { return false; }

  private:
    WaylandVirtualPointer* pointer() const;

    std::function<void()> m_afterInput;
    mutable bool m_looked = false;
    mutable std::unique_ptr<WaylandVirtualPointer> m_pointer;
};
