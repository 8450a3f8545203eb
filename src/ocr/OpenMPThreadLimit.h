#pragma once

// The recognition engine parallelises with OpenMP, whose thread pool reads OMP_THREAD_LIMIT once,
// when the runtime is loaded with the program. On a machine with few cores its threads fight each
// other and recognition gets several times slower, so the limit must be in the environment before
// the process starts: setting it in main is too late.
namespace openmplimit {

// When OMP_THREAD_LIMIT is unset, sets it to 1 and replaces the process with a fresh run of the
// same program and arguments. Returns in the fresh run (which takes the limit out of its
// environment again, so child processes do not inherit it), when the user set a limit of their
// own (kept as it is), or when the re-run failed (the program goes on, slower).
void ensureThreadLimit(char** argv);

} // namespace openmplimit
