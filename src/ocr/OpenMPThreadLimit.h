#pragma once

// The recognition engine parallelises with OpenMP, whose runtime reads OMP_THREAD_LIMIT once, when
// it is loaded with the engine's module on the first recognition. On a machine with few cores its
// threads fight each other and recognition gets several times slower.
namespace openmplimit {

// Puts OMP_THREAD_LIMIT=1 into the environment unless the user set a limit of their own. Call it
// from main before any other thread starts, so nothing reads the environment while it changes.
void ensureThreadLimit();

} // namespace openmplimit
