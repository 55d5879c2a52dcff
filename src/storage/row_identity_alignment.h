#pragma once

#include "model/entry_log.h"
#include "model/row_table.h"

#include <vector>

namespace fb {

// The identities of a file's rows where trips were cut out of it, or put into it, outside the
// program (its trip count is not the log's, or it is again after a cut and an insert). Taken by
// position, every row after the first cut would be compared with the trip below it and the
// last logged trip would count as missing. Instead, trips that stand once in the log (by the
// digest and deleted mark it expects) and once in the file are taken to be the same trip where
// they keep their order; between them, rows keep the identities in their places as far as
// both go, so that a row changed there is found changed, identities left over are found
// missing and rows left over were put in (not logged), except that an identity left over
// takes a row left over that is what the log expects of it (a trip moved among the others).
// `digests`, where given, are the rows' digests in order.
QList<RowId> alignedRowIds(const QList<RowId> &loggedIds, const RowTable &trips,
                           const EntryLog &log, const std::vector<LogDigest> *digests);

} // namespace fb
