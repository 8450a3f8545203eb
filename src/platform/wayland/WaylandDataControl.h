#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_source_v1;

// The compositor's clipboard control (the wlroots data-control protocol), on Qt's own connection
// to the compositor: it sets the clipboard without a focused window, which is how a capture made
// by hotkey, with no Pictro window open, still reaches the clipboard. The contents are served by
// this process for as long as it runs, or until another client replaces them.
class WaylandDataControl {
  public:
    using Offers = QList<QPair<QByteArray, QByteArray>>; // MIME type, bytes

    // None where the compositor does not offer the protocol or Qt does not run on Wayland.
    static std::unique_ptr<WaylandDataControl> connect();
    ~WaylandDataControl();
    WaylandDataControl(const WaylandDataControl&) = delete;
    WaylandDataControl& operator=(const WaylandDataControl&) = delete;

    // Makes `offers` the clipboard's contents. False when the compositor took the device away.
    bool setSelection(const Offers& offers);

    // Called from the protocol's listeners.
    void serve(zwlr_data_control_source_v1* source, const char* mimeType, int fd);
    void cancelled(zwlr_data_control_source_v1* source);
    void deviceFinished();
    void found(wl_registry* registry, quint32 name, const char* interface, quint32 version);

  private:
    WaylandDataControl() = default;

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    bool m_ownSeat = false;
    zwlr_data_control_manager_v1* m_manager = nullptr;
    zwlr_data_control_device_v1* m_device = nullptr;
    zwlr_data_control_source_v1* m_source = nullptr;
    Offers m_offers;
};
