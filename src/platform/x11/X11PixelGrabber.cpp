#include "platform/x11/X11PixelGrabber.h"

#include "platform/x11/X11Atoms.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

namespace {

// The only pixel layout handled: 32 bits per pixel, least significant byte first, the usual
// 0xRRGGBB masks. That is what every current X server on a little-endian machine uses for depths
// 24 and 32, and it matches QImage's 32-bit formats byte for byte.
bool layoutSupported(xcb_connection_t* c, uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth) return it.data->bits_per_pixel == 32;
    return false;
}

// The server leaves the fourth byte of a depth-24 pixel undefined; QImage's RGB32 wants it opaque.
void makeOpaque(uchar* data, size_t pixels) {
    auto* p = reinterpret_cast<quint32*>(data);
    for (size_t i = 0; i < pixels; ++i)
        p[i] |= 0xff000000u;
}

// An image over `data`, which `release(owner)` gives back once the last copy of the image is gone.
QImage imageOver(uchar* data, int width, int height, uint8_t depth, QImageCleanupFunction release,
                 void* owner) {
    if (depth != 32) makeOpaque(data, static_cast<size_t>(width) * static_cast<size_t>(height));
    const QImage::Format format = depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    QImage image(data, width, height, static_cast<qsizetype>(width) * 4, format, release, owner);
    if (image.isNull()) release(owner);
    return image;
}

void detachSegment(void* memory) {
    shmdt(memory);
}
void freeReply(void* reply) {
    std::free(reply);
}

// A private segment of `bytes`, attached here and on the server; none when either side refuses.
struct Segment {
    uint32_t id = 0;
    uchar* memory = nullptr;
};
std::optional<Segment> attachSegment(xcb_connection_t* c, size_t bytes, bool* serverRefused) {
    const int shmId = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shmId < 0) return std::nullopt;
    void* memory = shmat(shmId, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(shmId, IPC_RMID, nullptr);
        return std::nullopt;
    }
    const uint32_t segment = xcb_generate_id(c);
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_shm_attach_checked(c, segment, static_cast<uint32_t>(shmId), 0));
    // Marked for removal at once: the segment goes away with the last detach, even after a crash.
    shmctl(shmId, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        shmdt(memory);
        *serverRefused = true;
        return std::nullopt;
    }
    return Segment{segment, static_cast<uchar*>(memory)};
}

} // namespace

void X11PixelGrabber::setSharedMemoryEnabled(bool enabled) {
    std::lock_guard lock(m_mutex);
    m_shmEnabled = enabled;
}

bool X11PixelGrabber::sharedMemoryUsable(xcb_connection_t* c) {
    if (!m_shmChecked || m_connection != c) {
        m_shmChecked = true;
        m_connection = c;
        xcb_generic_error_t* error = nullptr;
        XcbPtr<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(c, xcb_shm_query_version(c), &error));
        std::free(error);
        m_shmUsable = version != nullptr;
    }
    return m_shmUsable;
}

std::optional<QImage> X11PixelGrabber::grabShared(xcb_connection_t* c, xcb_drawable_t drawable,
                                                  const QRect& rect, uint8_t depth) {
    if (!sharedMemoryUsable(c)) return std::nullopt;
    const size_t bytes = static_cast<size_t>(rect.width()) * static_cast<size_t>(rect.height()) * 4;
    bool refused = false;
    const auto segment = attachSegment(c, bytes, &refused);
    // A server that cannot share memory with us will not later: do not try again.
    if (refused) m_shmUsable = false;
    if (!segment) return std::nullopt;
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, drawable, static_cast<int16_t>(rect.x()), static_cast<int16_t>(rect.y()),
                          static_cast<uint16_t>(rect.width()), static_cast<uint16_t>(rect.height()), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, segment->id, 0),
        &error));
    std::free(error);
    // The server has written the pixels; only this process keeps the memory from here on.
    xcb_shm_detach(c, segment->id);
    xcb_flush(c);
    if (!reply || reply->size < bytes) {
        shmdt(segment->memory);
        return std::nullopt;
    }
    return imageOver(segment->memory, rect.width(), rect.height(), depth, detachSegment, segment->memory);
}

std::optional<QImage> X11PixelGrabber::grabPlain(xcb_connection_t* c, xcb_drawable_t drawable,
                                                 const QRect& rect, uint8_t depth) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, static_cast<int16_t>(rect.x()),
                      static_cast<int16_t>(rect.y()), static_cast<uint16_t>(rect.width()),
                      static_cast<uint16_t>(rect.height()), ~0u),
        &error);
    std::free(error);
    const size_t bytes = static_cast<size_t>(rect.width()) * static_cast<size_t>(rect.height()) * 4;
    if (!reply || static_cast<size_t>(xcb_get_image_data_length(reply)) < bytes) {
        std::free(reply);
        return std::nullopt;
    }
    // The pixels stay in the reply, which the image frees: the data lies right after its header.
    return imageOver(xcb_get_image_data(reply), rect.width(), rect.height(), depth, freeReply, reply);
}

std::optional<QImage> X11PixelGrabber::grab(xcb_connection_t* c, xcb_drawable_t drawable, const QRect& rect,
                                            uint8_t depth) {
    if (!c || rect.isEmpty() || rect.width() > 32767 || rect.height() > 32767) return std::nullopt;
    if (!layoutSupported(c, depth)) return std::nullopt;
    std::lock_guard lock(m_mutex);
    if (m_shmEnabled) {
        if (auto image = grabShared(c, drawable, rect, depth)) return image;
    }
    return grabPlain(c, drawable, rect, depth);
}
