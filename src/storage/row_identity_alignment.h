#pragma once

#include "model/entry_log.h"
#include "model/row_table.h"

#include <vector>

namespace fb {

// The identities of a file's rows where the file holds another number of trips than its log
// was written with: trips were cut out of it, or put into it, outside the program. Taken by
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

// The identities of the rows of a file with the trip count its log was written with: in their
// places, unless rows differ from the log there and matching them as above finds trips that
// were cut out with fewer rows in question (one trip cut and another put in elsewhere keep the
// count). Rows merely swapped stay compared by place.
QList<RowId> rowIdsOfSameCount(const QList<RowId> &loggedIds, const RowTable &trips,
                               const EntryLog &log, const std::vector<LogDigest> *digests);

} // namespace fb
