#pragma once

#include <QPoint>
#include <QRect>

#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

// The compositor's virtual pointer (the wlroots protocol), on Qt's own connection: a pointer
// device of Pictro's that moves and turns its wheel like the user's, so the window under it
// scrolls. The device is added to the seat on first use, not when the protocol is looked for.
class WaylandVirtualPointer {
  public:
    // None where the compositor does not offer the protocol or Qt does not run on Wayland.
    static std::unique_ptr<WaylandVirtualPointer> connect();
    ~WaylandVirtualPointer();
    WaylandVirtualPointer(const WaylandVirtualPointer&) = delete;
    WaylandVirtualPointer& operator=(const WaylandVirtualPointer&) = delete;

    // Puts the pointer at a point of the desktop's layout (logical pixels), given the layout's
    // bounds, which is the space the compositor maps absolute motion onto.
    void moveTo(QPoint layoutPoint, const QRect& layoutBounds);
    // Turns the wheel by whole notches; positive away from the user (the content moves down).
    void turnWheel(int notches);

    // Called from the registry's listener.
    void found(wl_registry* registry, quint32 name, const char* interface, quint32 version);

  private:
    WaylandVirtualPointer() = default;
    zwlr_virtual_pointer_v1* device();

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwlr_virtual_pointer_manager_v1* m_manager = nullptr;
    zwlr_virtual_pointer_v1* m_pointer = nullptr;
};
