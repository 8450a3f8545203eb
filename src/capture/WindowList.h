#pragma once

#include "capture/WindowInfo.h"
#include "platform/WindowServer.h"

#include <optional>
#include <vector>

// Which entries of the window server's list are windows a user could mean, and which of them is
// in front. Pure functions of the list.
namespace windowlist {

inline constexpr double minWidth = 60.0;       // points; narrower windows are not offered
inline constexpr double minHeight = 40.0;      // points
inline constexpr double maxHiddenAlpha = 0.05; // this transparent or more is not visible

// The entries that pass every rule, as WindowInfo, in the list's order (front to back).
std::vector<WindowInfo> filter(const std::vector<RawWindowEntry>& entries, qint32 ownPid);

// The first window of the frontmost application; else the first window; none for an empty list.
std::optional<WindowInfo> frontmost(const std::vector<WindowInfo>& windows,
                                    std::optional<qint32> frontmostPid);

} // namespace windowlist
