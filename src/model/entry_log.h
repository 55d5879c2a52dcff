#pragma once

#include "row.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace fb {

// The entry log: when each trip was entered and deleted, every change of the master data, and
// every change made to the file outside the program that a load found. It is stored behind the
// logbook's other contents (entry_log_trailer.h), its events chained by a hash, so that a later
// change to a logged row or to the log itself shows.
//
// Each logged row has an identity of its own, kept with the log: rows move when a backdated
// trip is inserted above them, and a row's index would not follow them.

// BLAKE2b with a 256-bit result: a cryptographic hash that Qt offers and that digests a file
// at several times the speed of Qt's SHA-256.
inline constexpr qsizetype kLogDigestSize = 32;
using LogDigest = std::array<quint8, kLogDigestSize>;

// The hash of the entry log, as the bytes it was fed.
LogDigest logHash(QByteArrayView first, QByteArrayView second = {});

// A logged row's identity; kNotLogged for a row the log knows nothing about (rows loaded from
// a file written before the log, or put into the file outside the program).
using RowId = quint32;
inline constexpr RowId kNotLogged = 0;

// The digest of what a trip says: its caption and sub-items 0 to 5, each as the logbook file
// stores a text (a 32-bit length and the UTF-16LE units), a missing sub-item as an empty text.
// The deleted mark and the readings are left out: they change for other reasons.
LogDigest tripDigest(const Row &trip);
// The sub-items a trip's digest covers after the caption.
inline constexpr qint32 kDigestedSubItems = 6;

// The stored kinds of event; never renumbered.
enum class EntryEventKind : quint8 {
    Entered = 1,         // a trip was entered: new, copied, or the new version of a change
    Deleted = 2,         // a trip was deleted, or replaced by the new version of a change
    MasterData = 3,      // one field of the master data changed
    OutsideChange = 4,   // a load found the file changed outside the program
    OdometerReading = 5, // what the odometer showed at a moment, read off the car
};

// A logged row as a load found it after it was changed outside the program: from then on the
// log expects the row as it was found, so one change is reported once. A row that was no longer
// in the file at all is stored with a digest of zeros (kGoneDigest): the log expects it no more.
struct FoundRow {
    RowId id = kNotLogged;
    LogDigest digest{};
    bool deleted = false;
    friend bool operator==(const FoundRow &, const FoundRow &) = default;
};

inline constexpr LogDigest kGoneDigest{};

struct EntryEvent {
    EntryEventKind kind = EntryEventKind::Entered;
    // Days since 30 December 1899, 00:00 UTC, the time of day as the fraction.
    double when = 0;
    // The trip concerned; kNotLogged for master data, outside changes and readings.
    RowId row = kNotLogged;
    // Entered by a change: the version it replaces.
    RowId replaces = kNotLogged;
    // Entered and Deleted: the trip's digest at that moment.
    LogDigest digest{};
    // MasterData: the field's name, the old and the new value. OutsideChange: what was found.
    // OdometerReading: the note.
    // Empty (no list at all) where every text is empty, as in a record read from a file: a log
    // of millions of events must not cost a list each.
    QStringList texts;
    // OutsideChange: the logged rows that no longer matched the log.
    QList<FoundRow> found;
    // OdometerReading: when the odometer was read (days since 30.12.1899 in local wall-clock
    // time, as the trips' moments) and what it showed; the note is the only text.
    double readingAt = 0;
    double readingKm = 0;

    friend bool operator==(const EntryEvent &, const EntryEvent &) = default;
};

// An event as the log stores and chains it: a 32-bit length, then the event's fields.
QByteArray encodeEntryEvent(const EntryEvent &event);
// The event of a stored record's fields (the bytes after the length); nothing when they are
// not exactly one event as encodeEntryEvent writes it. maxRowId bounds every identity.
std::optional<EntryEvent> decodeEntryEvent(QByteArrayView fields, RowId maxRowId);

// "dd.MM.yyyy HH:mm" in local time of a stored moment (days since 30.12.1899, UTC);
// "unbekannter Zeitpunkt" for a moment that is none (a damaged or forged log).
QString localMomentText(double when);
// The same as a plain wall-clock moment (time spec UTC, like the trips' own moments).
QDateTime localWallClock(double when);

enum class EntryLogState {
    None,           // no event: the logbook keeps no log
    Intact,         // every event the program's own
    ChangedOutside, // a change outside the program was found, now or at an earlier load
};

class EntryLog {
public:
    bool isEmpty() const { return m_events.empty(); }
    const std::vector<EntryEvent> &events() const { return m_events; }
    EntryLogState state() const;

    // The identity of the trip at row; kNotLogged for rows the log does not know.
    RowId idOf(qsizetype row) const
    {
        return row >= 0 && row < m_rowIds.size() ? m_rowIds.at(row) : kNotLogged;
    }
    // The identities of the rows in list order; may be shorter than the trip table, whose
    // further rows are not logged.
    const QList<RowId> &rowIds() const { return m_rowIds; }
    // Where each identity stands in today's list: index by identity, -1 where none does.
    std::vector<qsizetype> rowsById() const;

    // The events that entered and deleted the row, or nothing.
    const EntryEvent *enteredEvent(qsizetype row) const;
    const EntryEvent *deletedEvent(qsizetype row) const;
    // The event that entered the trip with the identity; its place in the log, or -1.
    qsizetype enteredEventIndex(RowId id) const;
    // Whether any event is an odometer reading: the file then needs the trailer's later version.
    bool holdsReadings() const { return m_readingCount > 0; }
    // The largest identity the log has handed out.
    RowId largestId() const { return RowId(m_byId.size() - 1); }
    // What the log expects of a logged row: its digest and deleted mark.
    struct Expected {
        LogDigest digest;
        bool deleted;
    };
    std::optional<Expected> expected(RowId id) const;

    // The chain's last value: the hash over the previous value and each event's record in
    // turn, starting from 32 zero bytes. Empty while there is no event.
    QByteArray chainValue() const;
    // Whether the chain ever had the value: the log goes on from that state.
    bool chainPassedThrough(QByteArrayView value) const;
    // The first 16 hex digits of the chain's last value; empty while there is no event.
    QString checkValue() const;
    // The check value a printout carries to tie it to the file: the log's last value as the
    // file holds it. The finding a load has just added (appendFinding) is in no file yet, and
    // its moment is the load's: printing the same file twice must show the same value.
    QString printedCheckValue() const;

    // Recording, as the operations change the trip table: call these before the table changes.
    // The trip inserted at position of a table of tableCount rows gets a new identity.
    RowId insertNewRow(qsizetype position, qsizetype tableCount);
    // The identity of the row, given one if it had none.
    RowId identify(qsizetype row, qsizetype tableCount);
    // Appends an event and extends the chain.
    void append(EntryEvent event);
    // Appends what a load found changed outside the program; printedCheckValue() passes over
    // these events until the log is written (markWritten) or another event follows.
    void appendFinding(std::vector<EntryEvent> events);
    void markWritten() { m_unwrittenFinding = 0; }

    void clear();

    // A log as a file held it: the rows' identities, the events and, for each, the chain's
    // value after it (32 bytes an event). Identities must not exceed the events' count.
    void restore(QList<RowId> rowIds, std::vector<EntryEvent> events, QByteArray chain);
    // Puts the restored identities where a file's rows were found to stand; only identities
    // the restored list held.
    void placeRows(QList<RowId> rowIds) { m_rowIds = std::move(rowIds); }

    friend bool operator==(const EntryLog &, const EntryLog &) = default;

private:
    struct IdState {
        qint32 entered = -1;
        qint32 deleted = -1;
        bool known = false; // the log expects the row in the file
        bool deletedMark = false;
        LogDigest digest{};
        friend bool operator==(const IdState &, const IdState &) = default;
    };
    void index(qsizetype eventIndex);
    IdState *stateOf(RowId id);
    const IdState *stateOf(RowId id) const;
    void padRows(qsizetype tableCount);
    RowId newId();

    std::vector<EntryEvent> m_events;
    QByteArray m_chain; // the chain's value after each event, 32 bytes each
    QList<RowId> m_rowIds;
    std::vector<IdState> m_byId = std::vector<IdState>(1); // index 0 stands for kNotLogged
    bool m_changedOutside = false;
    qsizetype m_unwrittenFinding = 0; // events
    qsizetype m_readingCount = 0;
};

} // namespace fb
