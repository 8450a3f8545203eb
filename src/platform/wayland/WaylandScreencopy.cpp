#include "platform/wayland/WaylandScreencopy.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using Output = WaylandScreencopy::Output;

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    static_cast<WaylandScreencopy*>(data)->found(registry, name, interface, version);
}
void registryGlobalRemove(void* data, wl_registry*, uint32_t name) {
    static_cast<WaylandScreencopy*>(data)->removed(name);
}
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

void outputGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                    const char*, int32_t transform) {
    static_cast<Output*>(data)->transform = transform;
}
void outputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void outputDone(void*, wl_output*) {}
void outputScale(void*, wl_output*, int32_t) {}
void outputName(void* data, wl_output*, const char* name) {
    static_cast<Output*>(data)->name = QString::fromUtf8(name);
}
void outputDescription(void*, wl_output*, const char*) {}
const wl_output_listener outputListener = {outputGeometry, outputMode, outputDone,
                                           outputScale,    outputName, outputDescription};

// One frame's exchange with the compositor: the buffers it can fill, then ready or failed.
struct Frame {
    struct Offer {
        uint32_t format, width, height, stride;
    };
    std::vector<Offer> offers;
    bool offersComplete = false;
    uint32_t flags = 0;
    bool ready = false;
    bool failed = false;
};

void frameBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height,
                 uint32_t stride) {
    static_cast<Frame*>(data)->offers.push_back({format, width, height, stride});
}
void frameFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
    static_cast<Frame*>(data)->flags = flags;
}
void frameReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
    static_cast<Frame*>(data)->ready = true;
}
void frameFailed(void* data, zwlr_screencopy_frame_v1*) {
    static_cast<Frame*>(data)->failed = true;
}
void frameDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void frameDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}
void frameBufferDone(void* data, zwlr_screencopy_frame_v1*) {
    static_cast<Frame*>(data)->offersComplete = true;
}
const zwlr_screencopy_frame_v1_listener frameListener = {
    frameBuffer, frameFlags, frameReady, frameFailed, frameDamage, frameDmabuf, frameBufferDone};

// The shared-memory layouts Qt reads as they are. An output is opaque: its alpha, if any, is not
// the picture's.
std::optional<QImage::Format> qtFormat(uint32_t format) {
    switch (format) {
    case WL_SHM_FORMAT_XRGB8888:
    case WL_SHM_FORMAT_ARGB8888:
        return QImage::Format_RGB32;
    case WL_SHM_FORMAT_XBGR8888:
    case WL_SHM_FORMAT_ABGR8888:
        return QImage::Format_RGBX8888;
    case WL_SHM_FORMAT_XRGB2101010:
    case WL_SHM_FORMAT_ARGB2101010:
        return QImage::Format_RGB30;
    case WL_SHM_FORMAT_XBGR2101010:
    case WL_SHM_FORMAT_ABGR2101010:
        return QImage::Format_BGR30;
    default:
        return std::nullopt;
    }
}

// Memory the compositor writes the pixels into, and that the picture then lives in: no copy.
struct Mapping {
    void* address;
    size_t size;
};
void unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->address, mapping->size);
    delete mapping;
}

WaylandScreencopy::Shot problem(WaylandScreencopy::Outcome outcome, const QString& detail) {
    return {outcome, QImage(), detail};
}

} // namespace

std::unique_ptr<WaylandScreencopy> WaylandScreencopy::connect() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return nullptr;
    std::unique_ptr<WaylandScreencopy> copy(new WaylandScreencopy);
    copy->m_display = display;
    copy->m_registry = wl_display_get_registry(display);
    wl_registry_add_listener(copy->m_registry, &registryListener, copy.get());
    // The globals, then what each output says of itself.
    if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0) return nullptr;
    if (!copy->m_manager || !copy->m_shm) return nullptr;
    return copy;
}

WaylandScreencopy::~WaylandScreencopy() {
    for (const auto& output : m_outputs)
        wl_output_destroy(output->proxy);
    if (m_manager) zwlr_screencopy_manager_v1_destroy(m_manager);
    if (m_shm) wl_shm_destroy(m_shm);
    if (m_registry) wl_registry_destroy(m_registry);
    if (m_display) wl_display_disconnect(m_display);
}

void WaylandScreencopy::found(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0 && !m_manager) {
        m_managerVersion = std::min<uint32_t>(version, 3);
        m_manager = static_cast<zwlr_screencopy_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, m_managerVersion));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !m_shm) {
        m_shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        // Version 4 names the output, the name Qt gives the screen.
        auto output = std::make_unique<Output>();
        output->globalName = name;
        output->proxy = static_cast<wl_output*>(
            wl_registry_bind(registry, name, &wl_output_interface, std::min<uint32_t>(version, 4)));
        wl_output_add_listener(output->proxy, &outputListener, output.get());
        m_outputs.push_back(std::move(output));
    }
}

void WaylandScreencopy::removed(uint32_t name) {
    std::erase_if(m_outputs, [&](const std::unique_ptr<Output>& output) {
        if (output->globalName != name) return false;
        wl_output_destroy(output->proxy);
        return true;
    });
}

bool WaylandScreencopy::dispatchUntil(const std::function<bool()>& done, int timeoutMs) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    while (!done()) {
        if (wl_display_dispatch_pending(m_display) < 0) return false;
        if (done()) break;
        if (wl_display_flush(m_display) < 0 && errno != EAGAIN) return false;
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0) return false;
        pollfd watched{wl_display_get_fd(m_display), POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        if (wl_display_dispatch(m_display) < 0) return false;
    }
    return true;
}

WaylandScreencopy::Shot WaylandScreencopy::capture(const QString& outputName) {
    QMutexLocker lock(&m_mutex);
    // Outputs plugged, unplugged or turned since the last capture.
    if (wl_display_roundtrip(m_display) < 0)
        return problem(Outcome::failed, QStringLiteral("the connection to the compositor broke"));
    const auto named = std::find_if(m_outputs.begin(), m_outputs.end(),
                                    [&](const std::unique_ptr<Output>& o) { return o->name == outputName; });
    if (named == m_outputs.end()) {
        // An output that does not say its name (an older compositor) may be the one.
        const bool unnamed = std::any_of(m_outputs.begin(), m_outputs.end(),
                                         [](const std::unique_ptr<Output>& o) { return o->name.isEmpty(); });
        return problem(unnamed ? Outcome::notHere : Outcome::noSuchOutput,
                       QStringLiteral("no output named ") + outputName);
    }
    // A turned or mirrored output's buffer is not the picture the user sees; the portal's is.
    if ((*named)->transform != WL_OUTPUT_TRANSFORM_NORMAL)
        return problem(Outcome::notHere, QStringLiteral("the output is turned or mirrored"));

    Frame state;
    zwlr_screencopy_frame_v1* frame =
        zwlr_screencopy_manager_v1_capture_output(m_manager, 0, (*named)->proxy);
    zwlr_screencopy_frame_v1_add_listener(frame, &frameListener, &state);
    const auto finish = [&](Shot shot) {
        zwlr_screencopy_frame_v1_destroy(frame);
        wl_display_flush(m_display);
        return shot;
    };
    // The buffers it can fill come at once; from version 3 on, closed by a last event.
    const bool closedOffers = m_managerVersion >= 3;
    if (!dispatchUntil(
            [&] { return state.failed || (closedOffers ? state.offersComplete : !state.offers.empty()); },
            2000) ||
        state.failed)
        return finish(problem(Outcome::failed, QStringLiteral("the compositor offered no buffer")));
    const auto offer = std::find_if(state.offers.begin(), state.offers.end(),
                                    [](const Frame::Offer& o) { return qtFormat(o.format).has_value(); });
    if (offer == state.offers.end())
        return finish(problem(Outcome::notHere, QStringLiteral("no pixel format Pictro reads")));

    const size_t size = size_t(offer->stride) * offer->height;
    const int fd = ::memfd_create("pictro-screencopy", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) < 0) {
        if (fd >= 0) ::close(fd);
        return finish(problem(Outcome::failed, QStringLiteral("no memory for the copy")));
    }
    void* address = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (address == MAP_FAILED) {
        ::close(fd);
        return finish(problem(Outcome::failed, QStringLiteral("no memory for the copy")));
    }
    wl_shm_pool* pool = wl_shm_create_pool(m_shm, fd, static_cast<int32_t>(size));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, static_cast<int32_t>(offer->width),
                                                  static_cast<int32_t>(offer->height),
                                                  static_cast<int32_t>(offer->stride), offer->format);
    wl_shm_pool_destroy(pool);
    ::close(fd); // the request carries a duplicate; the mapping stays
    zwlr_screencopy_frame_v1_copy(frame, buffer);
    const bool answered = dispatchUntil([&] { return state.ready || state.failed; }, 2000);
    wl_buffer_destroy(buffer);
    if (!answered || !state.ready) {
        ::munmap(address, size);
        return finish(
            problem(Outcome::failed, answered ? QStringLiteral("the compositor could not copy the output")
                                              : QStringLiteral("the compositor did not copy in time")));
    }

    QImage pixels(static_cast<uchar*>(address), static_cast<int>(offer->width),
                  static_cast<int>(offer->height), static_cast<qsizetype>(offer->stride),
                  *qtFormat(offer->format), unmap, new Mapping{address, size});
    if (pixels.format() != QImage::Format_RGB32) pixels = pixels.convertToFormat(QImage::Format_RGB32);
    if (state.flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) pixels = pixels.mirrored(false, true);
    return finish({Outcome::copied, pixels, {}});
}
