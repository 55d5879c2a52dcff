#include "batch_memory.h"

#include <cstdlib> // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>

#include <sys/stat.h>

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

#if defined(__GLIBC__)
namespace {

// About where the page faults of the loaded logbook start to cost more than a second start
// of the program (some 40 ms for loading the libraries again).
constexpr off_t kLargeFileBytes = 4 << 20;

// The output options' values name files that the run writes, not reads: an old large one in
// their place is no reason to start again.
bool namesOutput(const char *option)
{
    if (option[0] != '-')
        return false;
    const char *const name = option + (option[1] == '-' ? 2 : 1);
    for (const char *output : {"resave", "export-xls", "print-pdf"})
        if (std::strcmp(name, output) == 0)
            return true;
    return false;
}

bool namesALargeFile(char **argv)
{
    for (char **argument = argv + 1; *argument; ++argument) {
        if (namesOutput(*argument)) {
            if (!*++argument)
                break;
            continue;
        }
        struct stat status {};
        if (::stat(*argument, &status) == 0 && S_ISREG(status.st_mode) &&
            status.st_size >= kLargeFileBytes)
            return true;
    }
    return false;
}

} // namespace
#endif

void restartWithLargePages(char **argv)
{
#if defined(__GLIBC__)
    if (!namesALargeFile(argv))
        return;
    static constexpr char kTunables[] = "GLIBC_TUNABLES";
    static constexpr char kLargePages[] = "glibc.malloc.hugetlb";
    const char *const tunables = std::getenv(kTunables);
    // Set by the run before this one, or by whoever started the program: nothing to do.
    if (tunables && std::strstr(tunables, kLargePages))
        return;
    const std::string before = tunables ? tunables : "";
    const std::string value = (before.empty() ? std::string() : before + ':') + kLargePages + "=1";
    if (::setenv(kTunables, value.c_str(), 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Not started anew: the environment goes back to what it was.
    if (tunables)
        ::setenv(kTunables, before.c_str(), 1);
    else
        ::unsetenv(kTunables);
#else
    (void)argv;
#endif
}

} // namespace fb
