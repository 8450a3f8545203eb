#include "app/MemoryPolicy.h"

#include <malloc.h>

namespace memorypolicy {

void returnLargeBuffersToTheSystem() {
    // Setting the threshold also turns its dynamic adjustment off.
    mallopt(M_MMAP_THRESHOLD, largeAllocationBytes);
}

} // namespace memorypolicy
