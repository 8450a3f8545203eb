#pragma once

#include <QImage>
#include <QMutex>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_shm;
struct wl_output;
struct zwlr_screencopy_manager_v1;

// The compositor's screen copy (the wlroots protocol): one output's pixels copied by the
// compositor straight into Pictro's memory, with no picture file written, read back and decoded
// in between, as the screenshot portal's backends do. Offered by sway and the rest of the wlroots
// family; GNOME and KDE do not offer it, and there the portal stays the way to the screen.
//
// On a connection of its own to the compositor, so it may run on any thread, one capture at a
// time, without touching the connection Qt dispatches on the main thread.
class WaylandScreencopy {
  public:
    enum class Outcome {
        copied,
        noSuchOutput, // no output of that name (unplugged meanwhile)
        notHere,      // this output cannot be copied the plain way (rotated, or no known format)
        failed,       // the compositor refused or the connection broke
    };
    struct Shot {
        Outcome outcome = Outcome::failed;
        QImage image;   // the output at its own pixels, when copied
        QString detail; // for the log otherwise
    };

    // None where the compositor offers no screen copy (or no shared memory) or cannot be reached.
    static std::unique_ptr<WaylandScreencopy> connect();
    ~WaylandScreencopy();
    WaylandScreencopy(const WaylandScreencopy&) = delete;
    WaylandScreencopy& operator=(const WaylandScreencopy&) = delete;

    // The output of this name as it shows now, pointer as the compositor draws it. Blocking, for
    // at most a couple of seconds; any thread.
    Shot capture(const QString& outputName);

    // What the compositor says of its outputs, kept up to date by its events.
    struct Output {
        wl_output* proxy = nullptr;
        uint32_t globalName = 0;
        QString name;
        int32_t transform = 0;
    };
    // Called from the protocol's listeners.
    void found(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void removed(uint32_t name);

  private:
    WaylandScreencopy() = default;
    // Dispatches until `done` holds; false when the connection breaks or the time is up first.
    bool dispatchUntil(const std::function<bool()>& done, int timeoutMs);

    QMutex m_mutex;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_shm* m_shm = nullptr;
    zwlr_screencopy_manager_v1* m_manager = nullptr;
    uint32_t m_managerVersion = 0;
    std::vector<std::unique_ptr<Output>> m_outputs;
};
