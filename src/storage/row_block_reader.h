#pragma once

#include "model/entry_log.h"
#include "model/row_table.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace fb {

// Reads rowCount rows in the file's layout (a sub-item count, the caption, the sub-items;
// every text a length in UTF-16 units and the units) from bytes that are wholly in memory,
// and appends them to table. A large block is decoded by two threads, half of the rows each:
// a logbook of a hundred thousand trips holds a million texts to allocate.
//
// With digests, each row's digest (tripDigest) goes there too, computed from the bytes as the
// rows are decoded, in the same two threads: the entry log checks every logged row on load.
//
// Returns the number of bytes the rows took. When the bytes do not hold rowCount complete
// rows it returns nothing and leaves the table untouched: the caller then reads the rows field
// by field, which keeps what can be read and reports the fault.
//
// With referToBytes, the texts are no copies: each refers to its units in bytes (where the
// machine's byte order and the units' alignment allow it), and the caller keeps the bytes
// for as long as any of the texts, or a copy of one, lives. A text that is changed gets
// storage of its own then.
std::optional<qsizetype> readRowBlock(QByteArrayView bytes, qint32 rowCount, RowTable &table,
                                      std::vector<LogDigest> *digests = nullptr,
                                      bool referToBytes = false);

// Keeps bytes that texts refer to (readRowBlock with referToBytes) until the process ends. A
// copy of such a text may be anywhere by then: in a dialog, or on the clipboard, which the
// window system may read as the program ends.
void keepUntilExit(QByteArray bytes);

} // namespace fb
