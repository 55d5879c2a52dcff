#pragma once

#include "model/logbook.h"

#include <QIODevice>

namespace fb {

// Writes the whole logbook as JSON with readable field names (the shape is documented in
// docs/file-format.md): for looking into a file and for comparing documents in scripts. The
// text goes to the device piece by piece, so the memory it needs does not grow with the
// logbook. A failed write throws FileError with the message for the system error ("Disk full"
// for a short write); what was written before it stays written.
void writeLogbookJson(const Logbook &logbook, QIODevice &device);

} // namespace fb
