#pragma once

namespace fb {

// Sets the C library's heap up for reading a large logbook at once: a batch run, one large job
// instead of a long-lived program's many small ones, or a window that starts with a file. Call
// it before anything large is allocated. The heap keeps what it once had: a window that opened
// a large logbook keeps its memory for the next one.
void tuneAllocatorForLargeLogbook();

} // namespace fb
