#include "ocr/OpenMPThreadLimit.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace openmplimit {

namespace {
// Marks a limit this program set itself, so the re-run can take it out again.
constexpr char kMarker[] = "PICTRO_SET_OMP_THREAD_LIMIT";
} // namespace

void ensureThreadLimit(char** argv) {
    if (std::getenv(kMarker)) {
        // The runtime has read the limit while loading; programs started from here (a browser for
        // a link, say) must not inherit a limit their user never set.
        unsetenv(kMarker);
        unsetenv("OMP_THREAD_LIMIT");
        return;
    }
    // Any value, even empty, counts as the user's choice.
    if (std::getenv("OMP_THREAD_LIMIT") || !argv || !argv[0]) return;
    if (setenv("OMP_THREAD_LIMIT", "1", 1) != 0 || setenv(kMarker, "1", 1) != 0) return;
    execv("/proc/self/exe", argv);
    unsetenv(kMarker);
    unsetenv("OMP_THREAD_LIMIT");
    std::fprintf(stderr, "Pictro: cannot restart with OMP_THREAD_LIMIT=1 (%s); text recognition will be slower\n",
                 std::strerror(errno));
}

} // namespace openmplimit
