#include "platform/x11/X11ScreenChanges.h"

#include "platform/x11/X11Atoms.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <QSocketNotifier>

#include <cstdlib>

namespace {

class DamageWatch : public ScreenChangeWatch {
  public:
    DamageWatch(xcb_connection_t* c, uint8_t firstEvent, const QRect& area, std::function<void()> changed)
        : m_c(c), m_firstEvent(firstEvent), m_area(area), m_changed(std::move(changed)),
          m_notifier(xcb_get_file_descriptor(c), QSocketNotifier::Read) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        m_damage = xcb_generate_id(c);
        // Every rectangle as it is drawn: nothing to acknowledge, and each one can be tested
        // against the watched area.
        xcb_damage_create(c, m_damage, root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(c);
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { drain(); });
    }

    ~DamageWatch() override {
        m_notifier.setEnabled(false);
        xcb_damage_destroy(m_c, m_damage);
        xcb_disconnect(m_c);
    }

    void sync() override {
        std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
        drain();
    }

  private:
    void drain() {
        bool hit = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_c)) {
            if ((event->response_type & 0x7f) == m_firstEvent + XCB_DAMAGE_NOTIFY) {
                const auto* notify = reinterpret_cast<const xcb_damage_notify_event_t*>(event);
                const QRect drawn(notify->area.x, notify->area.y, notify->area.width, notify->area.height);
                hit = hit || drawn.intersects(m_area);
            }
            std::free(event);
        }
        // Once per batch: a repaint comes as many rectangles at a time.
        if (hit && m_changed) m_changed();
    }

    xcb_connection_t* m_c;
    uint8_t m_firstEvent;
    QRect m_area;
    std::function<void()> m_changed;
    QSocketNotifier m_notifier;
    xcb_damage_damage_t m_damage = 0;
};

} // namespace

std::unique_ptr<ScreenChangeWatch> X11ScreenChanges::watch(const QRect& rootPixels,
                                                           std::function<void()> changed) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return nullptr;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_damage_id);
    // The version must be agreed on before the extension's first request.
    XcbPtr<xcb_damage_query_version_reply_t> version(
        xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    if (!extension || !extension->present || !version) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::make_unique<DamageWatch>(c, extension->first_event, rootPixels, std::move(changed));
}
