#pragma once

#include <QString>

#include <bitset>
#include <initializer_list>

// What a backend can do beyond the basics every backend offers (screens, display capture, the
// clipboard, opening links). Features ask before they offer an action that needs one of these, so
// that a desktop which withholds it gets a disabled item with its reason instead of a silent no-op.
enum class Capability {
    windowList,         // the list of other applications' windows, with their frames
    windowCapture,      // the pixels of one window by its id
    activeWindow,       // which application the user works in
    pointerLocation,    // where the pointer is, anywhere on the desktop
    syntheticScroll,    // wheel events and pointer warps that other applications receive
    globalHotkeysByKey, // system-wide shortcuts grabbed by the key the user chose
    floatingAboveAll,   // windows placed at a given spot above everything, panels included
};

inline constexpr int capabilityCount = 7;

class Capabilities {
  public:
    // Nothing beyond the basics.
    Capabilities() = default;
    Capabilities(std::initializer_list<Capability> present) {
        for (Capability c : present)
            set(c, true);
    }
    static Capabilities all();

    bool has(Capability c) const { return m_present.test(static_cast<size_t>(c)); }
    void set(Capability c, bool present) { m_present.set(static_cast<size_t>(c), present); }
    bool operator==(const Capabilities&) const = default;

  private:
    std::bitset<capabilityCount> m_present;
};

namespace capability {

// Stable name, for logs and tests ("windowList").
QString name(Capability c);

// One line a person reads next to an action that cannot run here, in the desktop's own words.
QString unavailableReason(Capability c);

} // namespace capability
