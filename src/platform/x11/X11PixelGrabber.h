#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QRect>

#include <mutex>
#include <optional>

// Reads pixels of a drawable (the root window, a window's composite pixmap) into a QImage. The
// fast path is MIT-SHM into a segment made for that one read: the server writes the pixels
// straight into the memory the image keeps, so nothing is copied, and the segment goes with the
// last copy of the image instead of holding a screen's worth of memory between captures. The
// plain GetImage request is the fallback when the extension is missing or the attach is refused
// (a remote server, another IPC namespace); its reply buffer becomes the image the same way.
// Depth 24 comes back as RGB32, depth 32 as premultiplied ARGB32. Thread-safe.
class X11PixelGrabber {
  public:
    X11PixelGrabber() = default;
    X11PixelGrabber(const X11PixelGrabber&) = delete;
    X11PixelGrabber& operator=(const X11PixelGrabber&) = delete;

    // None when the drawable cannot be read (gone, bad rectangle, unsupported pixel layout).
    std::optional<QImage> grab(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                               uint8_t depth);

    // Turns the shared-memory path off (to measure or test the fallback).
    void setSharedMemoryEnabled(bool enabled);

  private:
    bool sharedMemoryUsable(xcb_connection_t* c);
    std::optional<QImage> grabShared(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                                     uint8_t depth);
    std::optional<QImage> grabPlain(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                                    uint8_t depth);

    std::mutex m_mutex;
    bool m_shmChecked = false;
    bool m_shmUsable = false;
    bool m_shmEnabled = true;
    xcb_connection_t* m_connection = nullptr;
};
