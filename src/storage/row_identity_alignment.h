#pragma once

#include "model/entry_log.h"
#include "model/row_table.h"

#include <vector>

namespace fb {

// The identities of a file's rows where the file holds another number of trips than its log
// was written with: trips were cut out of it, or put into it, outside the program. Taken by
// position, every row after the first cut would be compared with the trip below it and the
// last logged trip would count as missing; instead each row is matched, in order, to the
// logged trip whose digest and deleted mark it still has. Logged identities no row matches
// are left out (the log then finds them missing), rows put in get none, and a row that
// matches neither its own identity nor a later one keeps the one in its place, so that it is
// found changed. `digests`, where given, are the rows' digests in order.
QList<RowId> alignedRowIds(const QList<RowId> &loggedIds, const RowTable &trips,
                           const EntryLog &log, const std::vector<LogDigest> *digests);

} // namespace fb
