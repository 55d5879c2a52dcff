#pragma once

#include "model/logbook.h"

#include <QString>

namespace fb {

// The five files a tax audit reads, in this order.
QStringList auditFileNames();

// Writes the data a tax audit reads into the folder: index.xml, the standard's DTD beside it,
// fahrten.csv, protokoll.csv and stammdaten.csv. A missing folder is created, with the folders
// above it; an existing one must be empty. The files are written and synced in a new hidden
// folder beside the target, which takes the target's name at the end: the target holds all
// five files or stays as it was. Throws Error for a target that is no folder or holds files,
// FileError for what the system refuses; the logbook is only read.
void exportAuditData(const Logbook &logbook, const QString &folder);

} // namespace fb
