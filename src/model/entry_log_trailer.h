#pragma once

#include "binary_stream.h"
#include "entry_log.h"
#include "row_table.h"

#include <QByteArrayView>
#include <QIODevice>

#include <future>
#include <optional>
#include <vector>

namespace fb {

// The entry log in the logbook file: a trailer behind the text font, which readers of the
// file that know nothing of it pass over. A logbook without events has none, so a file
// written before the log existed is written again byte for byte.
//
//   magic "FBENTLOG", int32 version 1
//   int32 R, then R uint32: the identity of each trip row in list order (0: not logged)
//   int32 E, then E event records: uint32 length, then the event (encodeEntryEvent)
//   32 bytes: the chain's last value
//   int64: the trailer's size from the magic to the end of the file
//   32 bytes: the seal, BLAKE2b-256 over every byte of the file before it

// What a load found wrong with the entry log; nothing when it is intact or there is none.
struct EntryLogFindings {
    bool damaged = false;     // cut short, of an unknown version, or not as the program writes it
    bool sealBroken = false;  // the file is not what the seal was made over
    bool chainBroken = false; // the events do not give the chain value stored with them
    qsizetype loggedRowCount = -1; // rows the log knows, where the file holds another number
    QList<qsizetype> changedRows;  // logged rows that no longer match the log
    QList<FoundRow> foundRows;     // the same rows as they were found

    bool any() const
    {
        return damaged || sealBroken || chainBroken || loggedRowCount >= 0 ||
               !changedRows.isEmpty();
    }
};

// Writes the trailer of a log with events; the writer's hash has seen every byte of the file
// written before and is fed the trailer too, up to the seal.
void writeEntryLogTrailer(BinaryWriter &out, QCryptographicHash &fileHash, const EntryLog &log,
                          qsizetype tripCount);

// The reading side, in the order a load needs it: before the trip rows are read, find out
// from the end of the bytes whether a trailer is probably there, so that the rows' digests can
// be computed while they are decoded and the seal hashed meanwhile in a thread of its own.
class EntryLogReader {
public:
    // all: every byte of the file when it is in memory, else empty.
    explicit EntryLogReader(QByteArrayView all);
    ~EntryLogReader();
    EntryLogReader(const EntryLogReader &) = delete;
    EntryLogReader &operator=(const EntryLogReader &) = delete;

    // Where the rows' digests go while they are decoded; nothing when no trailer is expected.
    std::vector<LogDigest> *rowDigests() { return m_expected ? &m_digests : nullptr; }

    // Reads the trailer from the bytes after the text font (position: their offset in the
    // file) and checks it against the file and the trips as read. A trailer that cannot be
    // read as written is a finding, not an error. The device is read again from its start
    // for the seal when the file was not in memory.
    EntryLogFindings read(BinaryReader &in, QIODevice &device, const RowTable &trips,
                          EntryLog &log);

private:
    QByteArray sealOver(qint64 length, QIODevice &device);

    QByteArrayView m_all;
    bool m_expected = false;
    std::vector<LogDigest> m_digests;
    std::future<QByteArray> m_seal; // the hash of all but the last 32 bytes
};

} // namespace fb
