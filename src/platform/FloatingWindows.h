#pragma once

#include <Qt>

class QWindow;

// The program's windows that float over other applications' windows, by what they are for.
enum class FloatingRole {
    selectionOverlay, // covers a whole screen, panels included; takes the keyboard and the mouse
    scrollingBorder,  // a frame around the region being scrolled; every click passes through
    toast,            // a short message; never takes the focus, every click passes through
    thumbnail,        // a preview in a corner; never takes the focus, takes clicks
    pin,              // an image kept on top; focusable, moved by the user
};

// How a floating window is made on this desktop. Features build their windows with these traits
// instead of naming one window system's hints, so each backend decides how "above everything" is
// reached (bypassing the window manager on X11, a compositor's own protocol elsewhere).
struct FloatingTraits {
    Qt::WindowFlags flags;
    bool showWithoutActivating = false; // shown without taking the focus from the user's window
    bool neverFocused = false;          // the window manager is told never to give it the focus
};

class FloatingWindows {
  public:
    virtual ~FloatingWindows() = default;

    virtual FloatingTraits traits(FloatingRole role) const = 0;
    // Takes the keyboard (and, with mouseToo, the mouse) for a shown window; false while the
    // system refuses, so the caller may try again.
    virtual bool grabInput(QWindow* window, bool mouseToo);
};

// The traits that plain Qt window flags give every window system: stays-on-top, frameless, tool
// windows that never take the focus. Backends start from these.
FloatingTraits standardFloatingTraits(FloatingRole role);
