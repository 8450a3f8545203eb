#pragma once

#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// One entry of the window server's on-screen list, as raw as the server gives it. Any field may be
// missing; the capture engine decides which entries count as windows a user could mean.
struct RawWindowEntry {
    std::optional<qint64> layer;      // 0 is the normal application window layer
    std::optional<qint64> ownerPid;   // may lie outside the 32-bit range when the server is odd
    std::optional<QRectF> bounds;     // outer frame, top-left space, points
    std::optional<qint64> number;     // the window's id; valid ids fit in 32 bits unsigned
    std::optional<double> alpha;      // 0 (invisible) … 1 (opaque)
    std::optional<QString> name;      // title
    std::optional<QString> ownerName; // owning application's name

    bool operator==(const RawWindowEntry&) const = default;
};

// Layers that entries carry, on the scale where 0 is a normal window and larger values float above.
namespace windowlayer {
inline constexpr qint64 desktop = -2147483623;
inline constexpr qint64 normal = 0;
inline constexpr qint64 floating = 3; // "keep above" windows, utility palettes
inline constexpr qint64 dock = 20;    // panels and docks
inline constexpr qint64 notification = 23;
inline constexpr qint64 menu = 24; // menus, drop-downs, pop-ups, tooltips
inline constexpr qint64 splash = 102;
} // namespace windowlayer

// The system's list of windows on screen and who is in front. Called on the main thread.
class WindowServer {
  public:
    virtual ~WindowServer() = default;

    // Every window on screen, front to back. Never fails: an unavailable list is empty.
    virtual std::vector<RawWindowEntry> onScreenWindowList() const = 0;
    // The process id of the application the user works in; none when nobody has the focus.
    virtual std::optional<qint32> frontmostApplicationPid() const = 0;
    // This program's own process id.
    virtual qint32 ownPid() const = 0;
    // The outer frame (top-left space, points) of one window, listed or not; none when it is gone.
    virtual std::optional<QRectF> windowFrame(quint32 windowID) const = 0;
    // Whether a compositing manager runs, that is whether a translucent window shows the live
    // screen behind it. Systems that always composite keep the default.
    virtual bool compositingManagerRunning() const { return true; }
};
