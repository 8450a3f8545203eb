#include "platform/wayland/WaylandVirtualPointer.h"

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    static_cast<WaylandVirtualPointer*>(data)->found(registry, name, interface, version);
}
void registryGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

uint32_t nowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// What one notch of a mouse wheel reports as its scroll distance, by libinput's convention.
constexpr double notchDistance = 15.0;

} // namespace

std::unique_ptr<WaylandVirtualPointer> WaylandVirtualPointer::connect() {
    if (QGuiApplication::platformName() != QLatin1String("wayland")) return nullptr;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display =
        native ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display")) : nullptr;
    if (!display) return nullptr;

    std::unique_ptr<WaylandVirtualPointer> pointer(new WaylandVirtualPointer);
    pointer->m_display = display;
    pointer->m_seat = static_cast<wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
    pointer->m_registry = wl_display_get_registry(display);
    wl_registry_add_listener(pointer->m_registry, &registryListener, pointer.get());
    wl_display_roundtrip(display);
    if (!pointer->m_manager) return nullptr;
    return pointer;
}

void WaylandVirtualPointer::found(wl_registry* registry, quint32 name, const char* interface, quint32) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0 && !m_manager)
        m_manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

WaylandVirtualPointer::~WaylandVirtualPointer() {
    if (m_pointer) zwlr_virtual_pointer_v1_destroy(m_pointer);
    if (m_manager) zwlr_virtual_pointer_manager_v1_destroy(m_manager);
    if (m_registry) wl_registry_destroy(m_registry);
    if (m_display) wl_display_flush(m_display);
}

zwlr_virtual_pointer_v1* WaylandVirtualPointer::device() {
    // On Qt's seat, so the compositor moves the cursor the user sees; without one, its default.
    if (!m_pointer) m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_manager, m_seat);
    return m_pointer;
}

void WaylandVirtualPointer::moveTo(QPoint layoutPoint, const QRect& layoutBounds) {
    if (layoutBounds.isEmpty()) return;
    const QPoint at = layoutPoint - layoutBounds.topLeft();
    const auto x = static_cast<uint32_t>(std::clamp(at.x(), 0, layoutBounds.width() - 1));
    const auto y = static_cast<uint32_t>(std::clamp(at.y(), 0, layoutBounds.height() - 1));
    zwlr_virtual_pointer_v1* pointer = device();
    zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), x, y,
                                            static_cast<uint32_t>(layoutBounds.width()),
                                            static_cast<uint32_t>(layoutBounds.height()));
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_flush(m_display);
}

void WaylandVirtualPointer::turnWheel(int notches) {
    if (notches == 0) return;
    zwlr_virtual_pointer_v1* pointer = device();
    // The protocol's vertical axis grows downwards: a notch away from the user is negative.
    const int discrete = -notches;
    zwlr_virtual_pointer_v1_axis_source(pointer, WL_POINTER_AXIS_SOURCE_WHEEL);
    zwlr_virtual_pointer_v1_axis_discrete(pointer, nowMs(), WL_POINTER_AXIS_VERTICAL_SCROLL,
                                          wl_fixed_from_double(discrete * notchDistance), discrete);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_flush(m_display);
}
