#include "ocr/OpenMPThreadLimit.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace openmplimit {

void ensureThreadLimit(char** argv) {
    // Any value, even empty, counts as the user's choice; this also ends the re-run after one step.
    if (std::getenv("OMP_THREAD_LIMIT") || !argv || !argv[0]) return;
    if (setenv("OMP_THREAD_LIMIT", "1", 1) != 0) return;
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "Pictro: cannot restart with OMP_THREAD_LIMIT=1 (%s); text recognition will be slower\n",
                 std::strerror(errno));
}

} // namespace openmplimit
