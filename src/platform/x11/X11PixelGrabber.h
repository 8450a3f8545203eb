#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <mutex>
#include <optional>

// Reads pixels of a drawable (the root window, a window's composite pixmap) into a QImage. The
// fast path is MIT-SHM into one shared segment kept for reuse; the plain GetImage request is the
// fallback when the extension is missing or the attach is refused (a remote server, another IPC
// namespace). Depth 24 comes back as RGB32, depth 32 as premultiplied ARGB32. Thread-safe.
//
// The segment is a screen's worth of memory (32 MiB at 4K): it is kept while captures follow one
// another (a fresh segment for each read costs the server its page faults, three times the read
// itself) and given back after a few idle seconds.
// Make it on the main thread (the idle timer lives there).
class X11PixelGrabber {
  public:
    static constexpr int releaseAfterIdleMs = 3000;

    X11PixelGrabber();
    ~X11PixelGrabber();
    X11PixelGrabber(const X11PixelGrabber&) = delete;
    X11PixelGrabber& operator=(const X11PixelGrabber&) = delete;

    // None when the drawable cannot be read (gone, bad rectangle, unsupported pixel layout).
    std::optional<QImage> grab(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                               uint8_t depth);

    // Rows of the server's 32-bit pixels as a new image (depth 24 gets an opaque alpha byte).
    static QImage imageFrom(const uchar* data, int width, int height, uint8_t depth);
    // Whether the server's pixels of `depth` are laid out as QImage's 32-bit formats are.
    static bool layoutSupported(xcb_connection_t* c, uint8_t depth);

    // Turns the shared-memory path off (to measure or test the fallback).
    void setSharedMemoryEnabled(bool enabled);

  private:
    bool ensureSegment(xcb_connection_t* c, size_t bytes);
    void releaseSegment();
    void releaseWhenIdle();
    std::optional<QImage> grabShared(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                                     uint8_t depth);
    std::optional<QImage> grabPlain(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                                    uint8_t depth);

    std::mutex m_mutex;
    bool m_shmChecked = false;
    bool m_shmUsable = false;
    bool m_shmEnabled = true;
    xcb_connection_t* m_connection = nullptr;
    uint32_t m_segment = 0;
    int m_shmId = -1;
    uchar* m_memory = nullptr;
    size_t m_size = 0;
    QObject m_mainThread; // where the idle timer is restarted from any capturing thread
    QTimer m_idle;
};
