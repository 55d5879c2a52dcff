#pragma once

namespace fb {

// Sets the C library's heap up for a batch run: one large, short job instead of a long-lived
// program. Call it before anything large is allocated.
void tuneAllocatorForBatchRun();


} // namespace fb
