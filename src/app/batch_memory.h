#pragma once

namespace fb {

// Sets the C library's heap up for a batch run: one large, short job instead of a long-lived
// program. Call it before anything large is allocated.
void tuneAllocatorForBatchRun();

// Starts the program anew, with the same arguments, with the C library told to ask the system
// for large pages for its heap, when an argument names a file of some megabytes and the
// library was not so told already. A large logbook's memory is faulted in page by page
// otherwise, and on a virtual machine that takes longer than reading the file; a small one
// is done before a second start would pay off. Returns when there is no need, or where a new
// start cannot be made; the run then goes on with small pages.
void restartWithLargePages(char **argv);

} // namespace fb
