#include "ocr/OpenMPThreadLimit.h"

#include <cstdlib>

namespace openmplimit {

void ensureThreadLimit() {
    // Any value, even empty, counts as the user's choice; setenv without overwrite keeps it.
    setenv("OMP_THREAD_LIMIT", "1", 0);
}

} // namespace openmplimit
