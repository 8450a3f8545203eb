#pragma once

#include "platform/FrozenScreen.h"

#include <xcb/xcb.h>

#include <QFuture>
#include <QRect>

#include <memory>

// The frozen screen in two shared-memory pixmaps: the root's pixels read once into the first,
// and a dimmed copy of them in the second. The server draws from the program's memory directly,
// so the window's background and the hole cost no transfer of pixels. The dimmed copy is made on
// a worker while the window is being created, then the program's own copy of the pixels (the
// result's, with an opaque alpha byte), which only the first paint needs.
class X11FrozenScreen : public FrozenScreen {
  public:
    // Segments are kept this long after a freeze ends, for the next one.
    static constexpr int releaseAfterIdleMs = 3000;

    // None when the server shares no pixmaps (MIT-SHM missing or refused, a remote display) or
    // its pixel layout is not QImage's.
    static std::shared_ptr<X11FrozenScreen> freeze(const QRect& pixelRect, double dimAlpha);
    ~X11FrozenScreen() override;

    QFuture<PixelsOrError> pixels() override { return m_pixels; }
    bool setAsBackground(quintptr window) override;
    void draw(quintptr window, const QRegion& clear, const QRegion& dimmed,
              const std::vector<Tile>& tiles) override;

    struct Segment {
        int id = -1;
        uchar* memory = nullptr;
        uint32_t segment = 0;
        xcb_pixmap_t pixmap = 0;
    };

    X11FrozenScreen(xcb_connection_t* c, uint8_t depth, const QSize& size);
    static void releaseSegment(xcb_connection_t* c, Segment& s);

  private:
    bool attach(Segment& s);
    void release(Segment& s);
    bool read(xcb_window_t root, const QRect& pixelRect);
    void putTile(xcb_window_t window, const Tile& tile);

    xcb_connection_t* m_connection;
    uint8_t m_depth;
    QSize m_size;
    Segment m_picture;
    Segment m_dimmed;
    xcb_gcontext_t m_gc = 0;
    QFuture<void> m_dimming;
    QFuture<PixelsOrError> m_pixels;
};
