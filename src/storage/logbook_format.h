#pragma once

#include "binary_stream.h"
#include "entry_log_trailer.h"
#include "model/logbook.h"

#include <QIODevice>

namespace fb {

// The ".fbu" logbook file: no header and no version, little-endian, texts as UTF-16LE with
// a 32-bit length. Trips, templates, master data, print settings, heading font, text font;
// then, only where the logbook keeps an entry log, the log's trailer (entry_log_trailer.h).

// Writes the whole logbook. Throws FileError when a write fails.
void writeLogbook(QIODevice &device, const Logbook &logbook);

// Reads a whole logbook into the given one, field by field and in place: when the file ends
// early or a read fails it throws FileError, and what was read so far stays while the fields
// not reached keep their values. The tables are appended to (the caller empties them first);
// the fonts keep their own pixels-per-inch value and take the stored size in points.
// A file up to wholeFileLimit bytes is read into memory at once, which lets large tables be
// decoded by two threads; a larger one is read in pieces.
// The entry log is read and checked last; returns what was found wrong with it. Bytes after
// the text font that are no log are ignored.
// With textsIn, the rows' texts may refer to the file's bytes in memory instead of being
// copies (see readRowBlock); those bytes go to *textsIn, and the caller keeps them for as
// long as any text of the logbook, or a copy of one, lives.
EntryLogFindings readLogbook(QIODevice &device, Logbook &logbook,
                             qint64 wholeFileLimit = BinaryReader::kWholeFileLimit,
                             QByteArray *textsIn = nullptr);

} // namespace fb
