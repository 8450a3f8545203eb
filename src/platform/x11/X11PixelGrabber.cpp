#include "platform/x11/X11PixelGrabber.h"

#include "platform/x11/X11Atoms.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

// The only pixel layout handled: 32 bits per pixel, least significant byte first, the usual
// 0xRRGGBB masks. That is what every current X server on a little-endian machine uses for depths
// 24 and 32, and it matches QImage's 32-bit formats byte for byte.
bool X11PixelGrabber::layoutSupported(xcb_connection_t* c, uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth) return it.data->bits_per_pixel == 32;
    return false;
}

// Copies rows of 32-bit pixels into a new image; depth-24 pixels get an opaque alpha byte, since
// the server leaves that byte undefined.
QImage X11PixelGrabber::imageFrom(const uchar* data, int width, int height, uint8_t depth) {
    const bool withAlpha = depth == 32;
    QImage image(width, height, withAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) return image;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        const uchar* src = data + rowBytes * static_cast<size_t>(y);
        uchar* dst = image.scanLine(y);
        if (withAlpha) {
            std::memcpy(dst, src, rowBytes);
        } else {
            const auto* s = reinterpret_cast<const quint32*>(src);
            auto* d = reinterpret_cast<quint32*>(dst);
            for (int x = 0; x < width; ++x)
                d[x] = s[x] | 0xff000000u;
        }
    }
    return image;
}

X11PixelGrabber::X11PixelGrabber() {
    m_idle.setSingleShot(true);
    m_idle.setInterval(releaseAfterIdleMs);
    QObject::connect(&m_idle, &QTimer::timeout, &m_mainThread, [this] {
        std::lock_guard lock(m_mutex);
        releaseSegment();
    });
}

X11PixelGrabber::~X11PixelGrabber() {
    releaseSegment();
}

void X11PixelGrabber::releaseWhenIdle() {
    QMetaObject::invokeMethod(
        &m_mainThread, [this] { m_idle.start(); }, Qt::QueuedConnection);
}

void X11PixelGrabber::setSharedMemoryEnabled(bool enabled) {
    std::lock_guard lock(m_mutex);
    m_shmEnabled = enabled;
}

void X11PixelGrabber::releaseSegment() {
    if (m_memory && m_connection) {
        xcb_generic_error_t* error =
            xcb_request_check(m_connection, xcb_shm_detach_checked(m_connection, m_segment));
        std::free(error);
    }
    if (m_memory) shmdt(m_memory);
    m_memory = nullptr;
    m_size = 0;
    m_shmId = -1;
}

bool X11PixelGrabber::ensureSegment(xcb_connection_t* c, size_t bytes) {
    if (!m_shmChecked || m_connection != c) {
        m_shmChecked = true;
        m_connection = c;
        xcb_generic_error_t* error = nullptr;
        XcbPtr<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(c, xcb_shm_query_version(c), &error));
        std::free(error);
        m_shmUsable = version != nullptr;
    }
    if (!m_shmUsable) return false;
    if (m_memory && m_size >= bytes) return true;
    releaseSegment();

    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return false;
    void* memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const uint32_t segment = xcb_generate_id(c);
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_shm_attach_checked(c, segment, static_cast<uint32_t>(id), 0));
    // Marked for removal at once: the segment goes away with the last detach, even after a crash.
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        shmdt(memory);
        m_shmUsable = false; // the server cannot share memory with us; do not try again
        return false;
    }
    m_segment = segment;
    m_shmId = id;
    m_memory = static_cast<uchar*>(memory);
    m_size = bytes;
    return true;
}

std::optional<QImage> X11PixelGrabber::grabShared(xcb_connection_t* c, xcb_drawable_t drawable,
                                                  const QRect& rect, uint8_t depth) {
    const size_t bytes = static_cast<size_t>(rect.width()) * static_cast<size_t>(rect.height()) * 4;
    if (!ensureSegment(c, bytes)) return std::nullopt;
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, drawable, static_cast<int16_t>(rect.x()), static_cast<int16_t>(rect.y()),
                          static_cast<uint16_t>(rect.width()), static_cast<uint16_t>(rect.height()), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment, 0),
        &error));
    std::free(error);
    if (!reply || reply->size < bytes) return std::nullopt;
    return imageFrom(m_memory, rect.width(), rect.height(), depth);
}

std::optional<QImage> X11PixelGrabber::grabPlain(xcb_connection_t* c, xcb_drawable_t drawable,
                                                 const QRect& rect, uint8_t depth) {
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, static_cast<int16_t>(rect.x()),
                      static_cast<int16_t>(rect.y()), static_cast<uint16_t>(rect.width()),
                      static_cast<uint16_t>(rect.height()), ~0u),
        &error));
    std::free(error);
    const size_t bytes = static_cast<size_t>(rect.width()) * static_cast<size_t>(rect.height()) * 4;
    if (!reply || static_cast<size_t>(xcb_get_image_data_length(reply.get())) < bytes) return std::nullopt;
    return imageFrom(xcb_get_image_data(reply.get()), rect.width(), rect.height(), depth);
}

std::optional<QImage> X11PixelGrabber::grab(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                                            uint8_t depth) {
    if (!c || rect.isEmpty() || rect.width() > 32767 || rect.height() > 32767) return std::nullopt;
    if (!layoutSupported(c, depth)) return std::nullopt;
    std::lock_guard lock(m_mutex);
    if (m_shmEnabled) {
        auto image = grabShared(c, drawable, rect, depth);
        releaseWhenIdle();
        if (image) return image;
    }
    return grabPlain(c, drawable, rect, depth);
}
