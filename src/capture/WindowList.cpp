#include "capture/WindowList.h"

#include <limits>

namespace windowlist {
namespace {

bool fitsInt32(qint64 v) {
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
}

bool fitsUInt32(qint64 v) {
    return v >= 0 && v <= std::numeric_limits<quint32>::max();
}

// The rules, in order; the first that fails skips the entry.
std::optional<WindowInfo> admit(const RawWindowEntry& e, qint32 ownPid) {
    if (!e.layer || *e.layer != 0) return std::nullopt;
    if (!e.ownerPid || !fitsInt32(*e.ownerPid) || *e.ownerPid == ownPid) return std::nullopt;
    if (!e.bounds) return std::nullopt;
    if (!e.number || !fitsUInt32(*e.number)) return std::nullopt;
    const QRectF& b = *e.bounds;
    if (b.width() < minWidth || b.height() < minHeight) return std::nullopt;
    if (e.alpha && *e.alpha <= maxHiddenAlpha) return std::nullopt;
    WindowInfo info;
    info.windowID = static_cast<quint32>(*e.number);
    info.frameCG = b;
    info.title = e.name.value_or(QString());
    info.ownerName = e.ownerName.value_or(QString());
    info.pid = static_cast<qint32>(*e.ownerPid);
    return info;
}

} // namespace

std::vector<WindowInfo> filter(const std::vector<RawWindowEntry>& entries, qint32 ownPid) {
    std::vector<WindowInfo> result;
    for (const RawWindowEntry& e : entries)
        if (auto info = admit(e, ownPid)) result.push_back(std::move(*info));
    return result;
}

std::optional<WindowInfo> frontmost(const std::vector<WindowInfo>& windows,
                                    std::optional<qint32> frontmostPid) {
    if (frontmostPid)
        for (const WindowInfo& w : windows)
            if (w.pid == *frontmostPid) return w;
    if (windows.empty()) return std::nullopt;
    return windows.front();
}

} // namespace windowlist
