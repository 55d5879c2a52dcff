#pragma once

#include <QString>

namespace fb {

// Refuses an export to the open logbook's own file, which the spreadsheet would replace: the
// same file (the same device and inode, whatever the path says) or, where nothing exists yet,
// the same path, to which the logbook is going to be saved. Throws Error before anything is
// written; an untitled logbook (empty file name) refuses nothing.
void refuseExportOntoLogbook(const QString &target, const QString &logbookFileName);

} // namespace fb
