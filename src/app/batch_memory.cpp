#include "batch_memory.h"

#include <cstdlib> // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fb {

void tuneAllocatorForBatchRun()
{
#if defined(__GLIBC__)
    // The defaults suit a long-lived program: blocks above 128 KiB get mappings of their own
    // and freed memory goes back to the system at once, so every phase of a run faults its
    // memory in anew. A batch run of a large logbook reuses the memory of the file it read for
    // the spreadsheet it builds, and grows the heap in large steps rather than small ones.
    constexpr int kMiB = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, 64 * kMiB);
    mallopt(M_TRIM_THRESHOLD, 256 * kMiB);
    mallopt(M_TOP_PAD, 32 * kMiB);
#endif
}

} // namespace fb
