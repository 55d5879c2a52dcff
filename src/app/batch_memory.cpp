#include "batch_memory.h"

#include <cstdlib> // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

#include <cstdint>

namespace fb {
#if defined(__GLIBC__)
namespace {

// Room the heap takes at once: what a batch run of a million trips uses. It is address space
// only: a page that is never touched costs no memory.
constexpr std::size_t kPreparedHeapBytes = std::size_t(1) << 30;
constexpr std::uintptr_t kLargePageBytes = std::uintptr_t(2) << 20;

// Every page the heap hands out the first time is a fault, and on a virtual machine faults
// cost more than anything the run computes: a large logbook's run takes tens of thousands of
// them. The heap grows by its full room once, and asks the system for large pages there,
// so that a fault brings in two megabytes instead of four kilobytes. Where the system
// gives no large pages this costs nothing but the address space.
void prepareHeapForLargePages()
{
    void *const block = std::malloc(kPreparedHeapBytes);
    if (!block)
        return;
    const auto begin =
        (reinterpret_cast<std::uintptr_t>(block) + kLargePageBytes - 1) & ~(kLargePageBytes - 1);
    const auto end =
        (reinterpret_cast<std::uintptr_t>(block) + kPreparedHeapBytes) & ~(kLargePageBytes - 1);
    if (begin < end)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
    // Freed, the room stays the heap's: it lies below the trim threshold.
    std::free(block);
}

} // namespace
#endif

void tuneAllocatorForLargeLogbook()
{
#if defined(__GLIBC__)
    // The defaults suit a long-lived program: blocks above 128 KiB get mappings of their own
    // and freed memory goes back to the system at once, so every phase of a run faults its
    // memory in anew. A batch run of a large logbook reuses the memory of the file it read for
    // the spreadsheet it builds, and grows the heap in large steps rather than small ones.
    constexpr int kMiB = 1 << 20;
    mallopt(M_MMAP_MAX, 0);
    // Above the heap's prepared room and its top pad, so that the room is never given back.
    mallopt(M_TRIM_THRESHOLD, 1536 * kMiB);
    mallopt(M_TOP_PAD, 32 * kMiB);
    // One heap for both threads that decode a large trip table: they allocate once a row, so
    // they hardly wait for each other, and their memory is the heap prepared below.
    mallopt(M_ARENA_MAX, 1);
    prepareHeapForLargePages();
#endif
}

} // namespace fb
