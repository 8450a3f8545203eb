#pragma once

// How the process hands memory back to the system.
namespace memorypolicy {

// Allocations at least this large get pages of their own, returned to the system when freed.
inline constexpr int largeAllocationBytes = 1024 * 1024;

// Fixes the allocator's threshold for pages of their own at `largeAllocationBytes`, once, before
// any thread starts. Left to itself, glibc raises that threshold to the size of the largest
// buffer freed so far (up to 32 MiB), so after the first 4K capture is closed every later frame,
// editor canvas and thumbnail comes from the heap and stays there once freed.
void returnLargeBuffersToTheSystem();

} // namespace memorypolicy
