#pragma once

#include "binary_stream.h"
#include "model/entry_log.h"
#include "model/master_data.h"
#include "model/row_table.h"

#include <QByteArrayView>
#include <QIODevice>

#include <functional>
#include <future>
#include <optional>
#include <vector>

namespace fb {

// The entry log in the logbook file: a trailer behind the text font, which readers of the
// file that know nothing of it pass over. A logbook without events has none, so a file
// written before the log existed is written again byte for byte.
//
//   magic "FBENTLOG", int32 version: 2 when an event is an odometer reading, else 1
//   int32 R, then R uint32: the identity of each trip row in list order (0: not logged)
//   int32 E, then E event records: uint32 length, then the event (encodeEntryEvent)
//   32 bytes: the chain's last value
//   int64: the trailer's size from the magic to the end of the file
//   32 bytes: the seal, BLAKE2b-256 over every byte of the file before it

class TrailerCursor;

// What a load found wrong with the entry log; nothing when it is intact or there is none.
struct EntryLogFindings {
    bool damaged = false;     // cut short, of an unknown version, or not as the program writes it
    bool sealBroken = false;  // the file is not what the seal was made over
    bool chainBroken = false; // the events do not give the chain value stored with them
    qsizetype loggedRowCount = -1; // rows the log knows, where the file holds another number
    QList<qsizetype> changedRows;  // logged rows that no longer match the log
    QList<RowId> missingIds;       // trips the log knows that are no longer in the file
    QList<qsizetype> movedRows;    // trips that no longer stand where the program put them
    QList<FoundRow> foundRows;     // the changed and the missing rows as they were found
    QList<QStringList> masterData; // fields unlike their last logged value: name, logged, found

    bool any() const
    {
        return damaged || sealBroken || chainBroken || loggedRowCount >= 0 ||
               !changedRows.isEmpty() || !missingIds.isEmpty() || !movedRows.isEmpty() ||
               !masterData.isEmpty();
    }
};

// The master data fields that differ from the value the log last recorded for them; fields
// the log never recorded are not compared.
QList<QStringList> masterDataUnlikeLog(const EntryLog &log, const MasterData &master);

// Writes the trailer of a log with events; the writer's hash has seen every byte of the file
// written before and is fed the trailer too, up to the seal.
void writeEntryLogTrailer(BinaryWriter &out, QCryptographicHash &fileHash, const EntryLog &log,
                          qsizetype tripCount);

// The reading side, in the order a load needs it: before the file is read, find out from its
// end whether a trailer is probably there; if so, a thread of its own hashes the file for the
// seal and the log's records for the chain meanwhile (reading a file on its own), and the rows'
// digests are computed while they are decoded.
class EntryLogReader {
public:
    // The device is about to be read from its start.
    explicit EntryLogReader(QIODevice &device);
    ~EntryLogReader();
    EntryLogReader(const EntryLogReader &) = delete;
    EntryLogReader &operator=(const EntryLogReader &) = delete;

    // All bytes of the device, once they are in memory (empty when they are not): a device
    // that is no file is hashed from them, so they must stay until finish() has returned.
    void bytesInMemory(QByteArrayView all);
    // Waits for the hashing thread; read() does too.
    void finish();

    // Where the rows' digests go while they are decoded; nothing when no trailer is expected.
    std::vector<LogDigest> *rowDigests() { return m_expected ? &m_digests : nullptr; }

    // Reads the trailer from the bytes after the text font and checks it against the file and
    // the trips as read. A trailer that cannot be read as written is a finding, not an error.
    EntryLogFindings read(BinaryReader &in, QIODevice &device, const RowTable &trips,
                          EntryLog &log);

    // What the hashing thread found: the seal over all but the file's last 32 bytes and the
    // chain's value after each record of a trailer of the size expected.
    struct Hashed {
        QByteArray seal;
        QByteArray chain;
        bool chainRead = false;
    };

    // A trailer's fields as read, before they are checked against the trips.
    struct ReadTrailer {
        qint32 version = 0;
        qint32 rowCount = 0;
        qint32 eventCount = 0;
        QList<RowId> rowIds;
        std::vector<EntryEvent> events;
        QByteArray chain; // the chain's value after each event
        QByteArray last;  // the chain's last value as the events give it
    };

private:
    void start(std::function<Hashed()> work);
    // The bytes after the text font when they start as a trailer does; otherwise nothing, and
    // the findings say whether they were meant to be one. held keeps bytes not in memory.
    static std::optional<QByteArrayView> trailerBytes(BinaryReader &in, QByteArray &held,
                                                      EntryLogFindings &findings);
    // Magic, version, the rows' identities and the count of events; false when unreadable.
    static bool readHeader(TrailerCursor &cursor, ReadTrailer &trailer, EntryLogFindings &findings);
    // The events and the chain over them; hashed, where the thread read the same bytes.
    static void readEvents(TrailerCursor &cursor, QByteArrayView bytes, const Hashed *hashed,
                           ReadTrailer &trailer, EntryLogFindings &findings);
    // The stored chain value, the trailer's size and the seal.
    void checkEnd(TrailerCursor &cursor, QByteArrayView bytes, qint64 start, const Hashed *hashed,
                  QIODevice &device, const ReadTrailer &trailer, EntryLogFindings &findings) const;
    // The seal over the first length bytes, hashed here: from memory, or read again.
    QByteArray sealOver(qint64 length, QIODevice &device) const;

    int m_handle = -1;
    qint64 m_size = 0;
    qint64 m_trailerSize = 0;
    bool m_expected = false;
    QByteArrayView m_all;
    std::vector<LogDigest> m_digests;
    std::future<Hashed> m_hashed;
};

} // namespace fb
