#pragma once

#include "model/row_table.h"

#include <QString>

namespace fb {

// The most trips one sheet holds below its header row.
constexpr qsizetype kMaxExportedTrips = 65535;

// Writes the live trips of the list under a header row into a new ".xls" file, one row of
// text cells per trip in list order; deleted trips leave no gap. Raises the writer's errors
// (EXLSError, ECFileError) and refuses, before anything is written, more trips than a sheet
// holds and a target that must not be replaced (FileError "File access denied": a directory,
// a device, a pipe, a write-protected file). The trips themselves are only read. An export
// of an open logbook first asks refuseExportOntoLogbook (export_target.h).
void exportTripsToXls(const RowTable &trips, const QString &fileName);

} // namespace fb
