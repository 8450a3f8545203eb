#include "platform/wayland/WaylandDataControl.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QGuiApplication>
#include <QtConcurrent>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    static_cast<WaylandDataControl*>(data)->found(registry, name, interface, version);
}
void registryGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

// Offers of other clients' contents: Pictro reads the clipboard through Qt, so these are let go.
void deviceDataOffer(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}
void deviceSelection(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer) zwlr_data_control_offer_v1_destroy(offer);
}
void deviceFinished(void* data, zwlr_data_control_device_v1*) {
    static_cast<WaylandDataControl*>(data)->deviceFinished();
}
void devicePrimarySelection(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer) zwlr_data_control_offer_v1_destroy(offer);
}
const zwlr_data_control_device_v1_listener deviceListener = {deviceDataOffer, deviceSelection, deviceFinished,
                                                             devicePrimarySelection};

void sourceSend(void* data, zwlr_data_control_source_v1* source, const char* mimeType, int32_t fd) {
    static_cast<WaylandDataControl*>(data)->serve(source, mimeType, fd);
}
void sourceCancelled(void* data, zwlr_data_control_source_v1* source) {
    static_cast<WaylandDataControl*>(data)->cancelled(source);
}
const zwlr_data_control_source_v1_listener sourceListener = {sourceSend, sourceCancelled};

void writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0) break; // the reader went away
        done += n;
    }
    ::close(fd);
}

} // namespace

std::unique_ptr<WaylandDataControl> WaylandDataControl::connect() {
    if (QGuiApplication::platformName() != QLatin1String("wayland")) return nullptr;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display =
        native ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display")) : nullptr;
    if (!display) return nullptr;

    std::unique_ptr<WaylandDataControl> control(new WaylandDataControl);
    control->m_display = display;
    control->m_seat = static_cast<wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
    control->m_registry = wl_display_get_registry(display);
    wl_registry_add_listener(control->m_registry, &registryListener, control.get());
    wl_display_roundtrip(display);
    if (!control->m_manager || !control->m_seat) return nullptr;

    control->m_device = zwlr_data_control_manager_v1_get_data_device(control->m_manager, control->m_seat);
    zwlr_data_control_device_v1_add_listener(control->m_device, &deviceListener, control.get());
    // A reader that closes its end early must not end Pictro.
    std::signal(SIGPIPE, SIG_IGN);
    wl_display_flush(display);
    return control;
}

void WaylandDataControl::found(wl_registry* registry, quint32 name, const char* interface, quint32 version) {
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0 && !m_manager) {
        m_manager = static_cast<zwlr_data_control_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_data_control_manager_v1_interface, std::min<quint32>(version, 1)));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        m_ownSeat = true;
    }
}

WaylandDataControl::~WaylandDataControl() {
    if (m_source) zwlr_data_control_source_v1_destroy(m_source);
    if (m_device) zwlr_data_control_device_v1_destroy(m_device);
    if (m_manager) zwlr_data_control_manager_v1_destroy(m_manager);
    if (m_ownSeat && m_seat) wl_seat_destroy(m_seat);
    if (m_registry) wl_registry_destroy(m_registry);
    if (m_display) wl_display_flush(m_display);
}

bool WaylandDataControl::setSelection(const Offers& offers) {
    if (!m_device) return false;
    if (m_source) zwlr_data_control_source_v1_destroy(m_source);
    m_offers = offers;
    m_source = zwlr_data_control_manager_v1_create_data_source(m_manager);
    zwlr_data_control_source_v1_add_listener(m_source, &sourceListener, this);
    for (const auto& offer : offers)
        zwlr_data_control_source_v1_offer(m_source, offer.first.constData());
    zwlr_data_control_device_v1_set_selection(m_device, m_source);
    wl_display_flush(m_display);
    return true;
}

void WaylandDataControl::serve(zwlr_data_control_source_v1* source, const char* mimeType, int fd) {
    if (source != m_source) {
        ::close(fd);
        return;
    }
    for (const auto& offer : m_offers) {
        if (offer.first == mimeType) {
            // Off the main thread: a large image into a slow reader's pipe takes a while.
            (void)QtConcurrent::run([fd, bytes = offer.second] { writeAll(fd, bytes); });
            return;
        }
    }
    ::close(fd);
}

void WaylandDataControl::cancelled(zwlr_data_control_source_v1* source) {
    // Another client's contents replaced these.
    zwlr_data_control_source_v1_destroy(source);
    if (source == m_source) {
        m_source = nullptr;
        m_offers.clear();
    }
}

void WaylandDataControl::deviceFinished() {
    zwlr_data_control_device_v1_destroy(m_device);
    m_device = nullptr;
}
