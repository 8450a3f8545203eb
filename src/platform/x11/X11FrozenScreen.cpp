#include "platform/x11/X11FrozenScreen.h"

#include "platform/TimingMarks.h"
#include "platform/x11/X11Atoms.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11PixelGrabber.h"

#include <xcb/shm.h>

#include <QColor>
#include <QCoreApplication>
#include <QTimer>
#include <QtConcurrent>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

// Whether the server can draw from pixmaps in shared memory; asked once.
bool sharesPixmaps(xcb_connection_t* c) {
    static std::once_flag once;
    static bool shares = false;
    std::call_once(once, [c] {
        XcbPtr<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
        shares = version && version->shared_pixmaps;
    });
    return shares;
}

bool succeeded(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    xcb_generic_error_t* error = xcb_request_check(c, cookie);
    std::free(error);
    return error == nullptr;
}

// A painter's source-over fill of premultiplied black at `alpha` (8 bits) over opaque pixels,
// computed the way the raster engine computes it (its byte multiply, rounding included), in one
// pass from `from` to `to`. The alpha byte is left undefined, as the server's own.
void dimmedCopy(const quint32* from, quint32* to, size_t count, uint alpha) {
    const uint keep = 255 - alpha;
    for (size_t i = 0; i < count; ++i) {
        const quint32 x = from[i];
        quint32 rb = (x & 0xff00ffu) * keep;
        rb = ((rb + ((rb >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
        quint32 g = ((x >> 8) & 0xffu) * keep;
        g = ((g + (g >> 8) + 0x80u) >> 8) & 0xffu;
        to[i] = rb | (g << 8);
    }
}

// Segments of finished freezes, kept for the next one: fresh memory costs both sides a page fault
// per page on first touch, more than the whole freeze. Given back a few seconds after the last
// freeze ended. Main thread only.
struct KeptSegments {
    QSize size;
    std::vector<X11FrozenScreen::Segment> segments;
    int generation = 0;
};
KeptSegments& kept() {
    static KeptSegments instance;
    return instance;
}

void releaseKept(xcb_connection_t* c) {
    KeptSegments& k = kept();
    for (X11FrozenScreen::Segment& segment : k.segments)
        X11FrozenScreen::releaseSegment(c, segment);
    k.segments.clear();
    xcb_flush(c);
}

} // namespace

X11FrozenScreen::X11FrozenScreen(xcb_connection_t* c, uint8_t depth, const QSize& size)
    : m_connection(c), m_depth(depth), m_size(size) {}

X11FrozenScreen::~X11FrozenScreen() {
    // The workers read the segments; a window keeps its background on its own.
    m_dimming.waitForFinished();
    m_pixels.waitForFinished();
    if (m_gc) xcb_free_gc(m_connection, m_gc);
    KeptSegments& k = kept();
    if (k.size != m_size) {
        releaseKept(m_connection);
        k.size = m_size;
    }
    // Whole segments are kept; one whose attach failed half-way goes.
    for (Segment* s : {&m_picture, &m_dimmed}) {
        if (s->pixmap) {
            k.segments.push_back(std::exchange(*s, Segment{}));
        } else {
            release(*s);
        }
    }
    const int generation = ++k.generation;
    xcb_connection_t* c = m_connection;
    if (!qApp) {
        releaseKept(c);
        return;
    }
    QTimer::singleShot(releaseAfterIdleMs, qApp, [c, generation] {
        if (kept().generation == generation) releaseKept(c);
    });
    xcb_flush(c);
}

std::shared_ptr<X11FrozenScreen> X11FrozenScreen::freeze(const QRect& pixelRect, double dimAlpha) {
    X11Connection& x = X11Connection::shared();
    xcb_connection_t* c = x.connection();
    const xcb_screen_t* root = x.rootScreen();
    if (!c || !root || pixelRect.isEmpty()) return nullptr;
    if (!QRect(0, 0, root->width_in_pixels, root->height_in_pixels).contains(pixelRect)) return nullptr;
    const uint8_t depth = root->root_depth;
    if (!X11PixelGrabber::layoutSupported(c, depth) || !sharesPixmaps(c)) return nullptr;
    auto frozen = std::make_shared<X11FrozenScreen>(c, depth, pixelRect.size());
    if (!frozen->attach(frozen->m_picture) || !frozen->attach(frozen->m_dimmed)) return nullptr;
    if (!frozen->read(root->root, pixelRect)) return nullptr;

    const QSize size = pixelRect.size();
    const uchar* picture = frozen->m_picture.memory;
    uchar* dimmed = frozen->m_dimmed.memory;
    // The dimming as the overlay's painter lays it over the picture, pixel for pixel.
    QColor black(Qt::black);
    black.setAlphaF(dimAlpha);
    const uint alpha = static_cast<uint>(black.alpha());
    frozen->m_dimming = QtConcurrent::run([picture, dimmed, size, alpha] {
        dimmedCopy(reinterpret_cast<const quint32*>(picture), reinterpret_cast<quint32*>(dimmed),
                   static_cast<size_t>(size.width()) * static_cast<size_t>(size.height()), alpha);
    });
    // After the dimming, which the window waits for; the pixels are not needed before its first
    // paint.
    frozen->m_pixels = frozen->m_dimming.then([picture, size, depth]() -> PixelsOrError {
        QImage image = X11PixelGrabber::imageFrom(picture, size.width(), size.height(), depth);
        if (image.isNull()) return CaptureFailure::failed;
        return image;
    });
    // No exposure events: nobody reads them on this connection.
    const uint32_t values[] = {0};
    frozen->m_gc = xcb_generate_id(c);
    xcb_create_gc(c, frozen->m_gc, frozen->m_picture.pixmap, XCB_GC_GRAPHICS_EXPOSURES, values);
    xcb_flush(c);
    return frozen;
}

bool X11FrozenScreen::attach(Segment& s) {
    KeptSegments& k = kept();
    if (k.size == m_size && !k.segments.empty()) {
        s = k.segments.back();
        k.segments.pop_back();
        return true;
    }
    xcb_connection_t* c = m_connection;
    const size_t bytes = static_cast<size_t>(m_size.width()) * static_cast<size_t>(m_size.height()) * 4;
    s.id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (s.id < 0) return false;
    void* memory = shmat(s.id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(s.id, IPC_RMID, nullptr);
        s.id = -1;
        return false;
    }
    s.memory = static_cast<uchar*>(memory);
    s.segment = xcb_generate_id(c);
    const bool attached = succeeded(c, xcb_shm_attach_checked(c, s.segment, static_cast<uint32_t>(s.id), 0));
    // Marked for removal at once: the segment goes away with the last detach, even after a crash.
    shmctl(s.id, IPC_RMID, nullptr);
    if (!attached) {
        s.segment = 0;
        return false;
    }
    s.pixmap = xcb_generate_id(c);
    xcb_shm_create_pixmap(c, s.pixmap, X11Connection::shared().rootScreen()->root,
                          static_cast<uint16_t>(m_size.width()), static_cast<uint16_t>(m_size.height()),
                          m_depth, s.segment, 0);
    return true;
}

void X11FrozenScreen::releaseSegment(xcb_connection_t* c, Segment& s) {
    if (s.pixmap) xcb_free_pixmap(c, s.pixmap);
    if (s.segment) xcb_shm_detach(c, s.segment);
    if (s.memory) shmdt(s.memory);
    s = Segment{};
}

void X11FrozenScreen::release(Segment& s) {
    releaseSegment(m_connection, s);
}

bool X11FrozenScreen::read(xcb_window_t root, const QRect& pixelRect) {
    xcb_connection_t* c = m_connection;
    const size_t bytes = static_cast<size_t>(m_size.width()) * static_cast<size_t>(m_size.height()) * 4;
    XcbPtr<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, root, static_cast<int16_t>(pixelRect.x()), static_cast<int16_t>(pixelRect.y()),
                          static_cast<uint16_t>(pixelRect.width()), static_cast<uint16_t>(pixelRect.height()),
                          ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, m_picture.segment, 0),
        nullptr));
    return reply && reply->size >= bytes;
}

bool X11FrozenScreen::setAsBackground(quintptr window) {
    xcb_connection_t* c = m_connection;
    const auto id = static_cast<xcb_window_t>(window);
    XcbPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!geometry || geometry->depth != m_depth || geometry->width != m_size.width() ||
        geometry->height != m_size.height())
        return false;
    m_dimming.waitForFinished();
    // Checked, so the background is in place before the window is mapped through Qt's connection.
    return succeeded(c, xcb_change_window_attributes_checked(c, id, XCB_CW_BACK_PIXMAP, &m_dimmed.pixmap));
}

void X11FrozenScreen::draw(quintptr window, const QRegion& clear, const QRegion& dimmed,
                           const std::vector<Tile>& tiles) {
    xcb_connection_t* c = m_connection;
    const auto id = static_cast<xcb_window_t>(window);
    auto copy = [&](xcb_pixmap_t from, const QRegion& region) {
        for (const QRect& r : region)
            xcb_copy_area(c, from, id, m_gc, static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                          static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                          static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height()));
    };
    copy(m_picture.pixmap, clear);
    copy(m_dimmed.pixmap, dimmed);
    for (const Tile& tile : tiles)
        putTile(id, tile);
    xcb_flush(c);
}

void X11FrozenScreen::putTile(xcb_window_t window, const Tile& tile) {
    const QImage& image = tile.image;
    if (image.isNull() || image.depth() != 32) return;
    xcb_connection_t* c = m_connection;
    // Requests are limited in size: a large tile goes in bands of rows.
    const size_t maxBytes = static_cast<size_t>(xcb_get_maximum_request_length(c)) * 4 - 64;
    const size_t rowBytes = static_cast<size_t>(image.bytesPerLine());
    const int rowsPerRequest = std::max(1, static_cast<int>(maxBytes / rowBytes));
    for (int y = 0; y < image.height(); y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, image.height() - y);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, m_gc, static_cast<uint16_t>(image.width()),
                      static_cast<uint16_t>(rows), static_cast<int16_t>(tile.at.x()),
                      static_cast<int16_t>(tile.at.y() + y), 0, m_depth,
                      static_cast<uint32_t>(rowBytes * static_cast<size_t>(rows)), image.constScanLine(y));
    }
}
