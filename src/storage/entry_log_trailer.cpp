#include "entry_log_trailer.h"

#include "model/trip_columns.h"
#include "model/trip_placement.h"
#include "row_identity_alignment.h"

#include <QCryptographicHash>
#include <QHash>
#include <QtEndian>

#include <QFileDevice>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include <unistd.h>

namespace fb {

// Reads the trailer's fields; every read says whether the bytes held it.
class TrailerCursor {
public:
    explicit TrailerCursor(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype position() const { return m_pos; }
    qsizetype left() const { return m_bytes.size() - m_pos; }
    bool int32(qint32 &value)
    {
        if (left() < 4)
            return false;
        value = qFromLittleEndian<qint32>(m_bytes.data() + m_pos);
        m_pos += 4;
        return true;
    }
    bool int64(qint64 &value)
    {
        if (left() < 8)
            return false;
        value = qFromLittleEndian<qint64>(m_bytes.data() + m_pos);
        m_pos += 8;
        return true;
    }
    bool bytes(qsizetype count, QByteArrayView &value)
    {
        if (count < 0 || left() < count)
            return false;
        value = m_bytes.sliced(m_pos, count);
        m_pos += count;
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

namespace {

const QByteArray kMagic = QByteArrayLiteral("FBENTLOG");
// Version 2 is written only when the log holds an odometer reading: every other file stays as
// programs that know version 1 alone read it, and they refuse a log with events they do not know.
constexpr qint32 kVersion = 1;
constexpr qint32 kReadingsVersion = 2;
// The trailer's size and the seal end the file.
constexpr qsizetype kFooterSize = 8 + kLogDigestSize;
// Magic, version, the two counts, the chain value and the footer.
constexpr qsizetype kEmptyTrailerSize = 8 + 4 + 4 + 4 + kLogDigestSize + kFooterSize;
constexpr qint64 kSealChunk = qint64{1} << 20;

QByteArray sealOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256);
}

bool readAt(int handle, qint64 offset, char *target, qint64 length)
{
    while (length > 0) {
        const ssize_t got = ::pread(handle, target, std::size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        target += got;
        offset += got;
        length -= got;
    }
    return true;
}

// The chain's value after each record of a trailer, walked by the records' lengths alone;
// false when the trailer does not hold its records.
bool chainOf(QByteArrayView trailer, QByteArray &chain)
{
    TrailerCursor cursor(trailer);
    QByteArrayView skipped;
    qint32 version = 0;
    qint32 rowCount = 0;
    qint32 eventCount = 0;
    if (!cursor.bytes(kMagic.size(), skipped) || !cursor.int32(version) ||
        !cursor.int32(rowCount) || rowCount < 0 ||
        !cursor.bytes(4 * qsizetype(rowCount), skipped) || !cursor.int32(eventCount) ||
        eventCount < 0 || eventCount > cursor.left() / 4)
        return false;
    chain.reserve(qsizetype(eventCount) * kLogDigestSize);
    QCryptographicHash link(QCryptographicHash::Blake2b_256);
    QByteArray previous(kLogDigestSize, '\0');
    for (qint32 i = 0; i < eventCount; ++i) {
        const qsizetype recordStart = cursor.position();
        qint32 length = 0;
        if (!cursor.int32(length) || !cursor.bytes(length, skipped))
            return false;
        link.reset();
        link.addData(previous);
        link.addData(trailer.sliced(recordStart, cursor.position() - recordStart));
        previous = link.result();
        chain.append(previous);
    }
    return true;
}

// Bytes after the text font that were meant to be a trailer: they name it (its magic, whole or
// as the start of a cut one), or they end as one does, in a size no larger than the file could
// have held and a seal. Other bytes there are none of the logbook's business.
constexpr qint64 kSmallestTrailerSizeField = 48;
constexpr qint64 kTrailerSizeSlack = 16;

bool endsLikeTrailer(QByteArrayView last, qint64 fileSize)
{
    if (last.size() < kFooterSize)
        return false;
    const qint64 size = qFromLittleEndian<qint64>(last.data() + last.size() - kFooterSize);
    return size >= kSmallestTrailerSizeField && size <= fileSize + kTrailerSizeSlack;
}

bool looksLikeDamagedTrailer(QByteArrayView bytes, qint64 fileSize)
{
    if (bytes.size() < kMagic.size() && QByteArrayView(kMagic).startsWith(bytes))
        return true;
    return bytes.contains(QByteArrayView(kMagic)) || endsLikeTrailer(bytes, fileSize);
}

// The same for bytes too many to hold, the first of them read already, the rest piece by piece.
bool looksLikeDamagedTrailer(QByteArray first, BinaryReader &in, qint64 fileSize)
{
    if (in.remaining() == 0)
        return looksLikeDamagedTrailer(first, fileSize);
    constexpr qint64 kPiece = qint64{1} << 20;
    QByteArray carried = std::move(first);
    while (in.remaining() > 0) {
        QByteArray piece = carried + in.readBytes(std::min(kPiece, in.remaining()));
        if (piece.contains(kMagic))
            return true;
        carried = piece.right(std::max(kMagic.size() - 1, kFooterSize));
    }
    return endsLikeTrailer(carried, fileSize);
}

// The rows' identities as far as the events know them; a row that only the damaged rest of
// the log would have named counts as not logged.
void keepKnownIdentities(EntryLogReader::ReadTrailer &trailer, EntryLogFindings &findings)
{
    QList<RowId> &rowIds = trailer.rowIds;
    std::vector<bool> known(trailer.events.size() + 1, false);
    for (const EntryEvent &event : trailer.events) {
        known[event.row] = event.row != kNotLogged;
        for (const FoundRow &found : event.found)
            known[found.id] = true;
    }
    std::vector<bool> seen(known.size(), false);
    for (RowId &id : rowIds) {
        if (id == kNotLogged)
            continue;
        if (id >= known.size() || !known[id] || seen[id]) {
            findings.damaged = true;
            id = kNotLogged;
            continue;
        }
        seen[id] = true;
    }
}

// Logged rows that no longer say what the log says of them; digests where the load worked
// them out while decoding.
void findChangedTrips(const RowTable &trips, const EntryLog &log,
                      const std::vector<LogDigest> *digests, EntryLogFindings &findings)
{
    for (qsizetype row = 0; row < log.rowIds().size(); ++row) {
        const RowId id = log.rowIds().at(row);
        if (id == kNotLogged)
            continue;
        const std::optional<EntryLog::Expected> expected = log.expected(id);
        if (!expected)
            continue;
        const Row &trip = trips.at(row);
        const LogDigest digest = digests ? (*digests)[std::size_t(row)] : tripDigest(trip);
        const bool deleted = isDeleted(trip);
        if (digest != expected->digest || deleted != expected->deleted) {
            findings.changedRows.append(row);
            findings.foundRows.append(FoundRow{id, digest, deleted});
        }
    }
}

// Trips the log expects in the file that the file no longer holds: cut out together with their
// identity, they would leave no other trace.
void findMissingTrips(const EntryLog &log, EntryLogFindings &findings)
{
    std::vector<bool> present(std::size_t(log.largestId()) + 1, false);
    for (const RowId id : log.rowIds()) {
        if (id < present.size())
            present[id] = true;
    }
    for (RowId id = 1; id < present.size(); ++id) {
        if (!present[id] && log.expected(id)) {
            findings.missingIds.append(id);
            findings.foundRows.append(FoundRow{id, kGoneDigest, false});
        }
    }
}

void findChangedOrMissingTrips(const RowTable &trips, const EntryLog &log,
                               const std::vector<LogDigest> *digests, EntryLogFindings &findings)
{
    findChangedTrips(trips, log, digests, findings);
    findMissingTrips(log, findings);
}

// A file with the trip count it was written with is compared row by row. Where rows differ
// there, one trip may have been cut out and another put in elsewhere: matching the rows to the
// log (alignedRowIds) then finds the trip cut out, and the rows between are what they were.
// The match is taken where it finds a trip missing with fewer rows in question; rows merely
// swapped stay compared by place.
void preferMatchedRowsWhereTripsWereCut(const RowTable &trips, EntryLog &log,
                                        const std::vector<LogDigest> *digests,
                                        EntryLogFindings &findings)
{
    const auto inQuestion = [](const EntryLogFindings &found) {
        return found.changedRows.size() + found.missingIds.size();
    };
    QList<RowId> byPlace = log.rowIds();
    log.placeRows(alignedRowIds(byPlace, trips, log, digests));
    EntryLogFindings matched;
    findChangedOrMissingTrips(trips, log, digests, matched);
    if (matched.missingIds.isEmpty() || inQuestion(matched) >= inQuestion(findings)) {
        log.placeRows(std::move(byPlace));
        return;
    }
    findings.changedRows = std::move(matched.changedRows);
    findings.missingIds = std::move(matched.missingIds);
    findings.foundRows = std::move(matched.foundRows);
}

// Trips entered new that no longer stand where the program put them. A new trip goes before
// the first live trip that departs after it, and nothing the program does later puts a live
// trip that departs later above it. A changed version is not judged: it stays below the version
// it replaces, which an older list out of order may hold anywhere. Only trips entered after the
// last outside change count: what stood before it was judged then.
void findMovedTrips(const RowTable &trips, const EntryLog &log, EntryLogFindings &findings)
{
    qsizetype lastOutsideChange = -1;
    for (qsizetype i = 0; i < qsizetype(log.events().size()); ++i) {
        if (log.events()[std::size_t(i)].kind == EntryEventKind::OutsideChange)
            lastOutsideChange = i;
    }
    std::optional<qint64> latestAbove;
    for (qsizetype row = 0; row < trips.count(); ++row) {
        const Row &trip = trips.at(row);
        if (isDeleted(trip))
            continue;
        const std::optional<qint64> departs = departureKey(trip.caption);
        if (!departs)
            continue;
        const qsizetype entered = log.enteredEventIndex(log.idOf(row));
        if (entered > lastOutsideChange && latestAbove && *latestAbove > *departs &&
            log.events()[std::size_t(entered)].replaces == kNotLogged &&
            !std::binary_search(findings.changedRows.cbegin(), findings.changedRows.cend(), row))
            findings.movedRows.append(row);
        latestAbove = std::max(latestAbove.value_or(*departs), *departs);
    }
}

} // namespace

QList<QStringList> masterDataUnlikeLog(const EntryLog &log, const MasterData &master)
{
    QHash<QString, QString> logged;
    for (const EntryEvent &event : log.events()) {
        if (event.kind == EntryEventKind::MasterData && !event.texts.isEmpty())
            logged.insert(event.texts.value(0), event.texts.value(2));
    }
    QList<QStringList> unlike;
    if (logged.isEmpty())
        return unlike;
    for (const MasterDataField &field : masterDataFields(master)) {
        const auto last = logged.constFind(field.name);
        if (last != logged.cend() && *last != field.value)
            unlike.append({field.name, *last, field.value});
    }
    return unlike;
}

QByteArray EntryLogReader::sealOver(qint64 length, QIODevice &device) const
{
    if (!m_all.isEmpty())
        return sealOf(m_all.first(length));
    // A file too large to hold is read again, piece by piece.
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    if (!device.seek(0))
        return {};
    while (length > 0) {
        const QByteArray chunk = device.read(std::min(length, kSealChunk));
        if (chunk.isEmpty())
            return {};
        hash.addData(chunk);
        length -= chunk.size();
    }
    return hash.result();
}

void writeEntryLogTrailer(BinaryWriter &out, QCryptographicHash &fileHash, const EntryLog &log,
                          qsizetype tripCount)
{
    qint64 size = kEmptyTrailerSize;
    out.writeBytes(kMagic);
    out.writeInt32(log.holdsReadings() ? kReadingsVersion : kVersion);
    out.writeInt32(qint32(tripCount));
    for (qsizetype row = 0; row < tripCount; ++row)
        out.writeInt32(qint32(log.idOf(row)));
    size += 4 * tripCount;
    out.writeInt32(qint32(log.events().size()));
    for (const EntryEvent &event : log.events()) {
        const QByteArray record = encodeEntryEvent(event);
        out.writeBytes(record);
        size += record.size();
    }
    out.writeBytes(log.chainValue());
    out.writeInt64(size);
    out.flush();
    const QByteArray seal = fileHash.result();
    out.setHash(nullptr);
    out.writeBytes(seal);
}

EntryLogReader::EntryLogReader(QIODevice &device)
{
    // A file is hashed by a thread that reads it on its own, from the start, while the load
    // reads it too: the seal then costs the load almost nothing.
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!file || file->isSequential() || file->handle() < 0 || device.pos() != 0)
        return;
    m_handle = file->handle();
    m_size = device.size();
    char footer[kFooterSize];
    char magic[8];
    if (m_size < kEmptyTrailerSize || !readAt(m_handle, m_size - kFooterSize, footer, kFooterSize))
        return;
    m_trailerSize = qFromLittleEndian<qint64>(footer);
    if (m_trailerSize < kEmptyTrailerSize || m_trailerSize > m_size ||
        !readAt(m_handle, m_size - m_trailerSize, magic, sizeof magic) ||
        QByteArrayView(magic, sizeof magic) != kMagic)
        return;
    m_expected = true;
    start([handle = m_handle, size = m_size, trailerSize = m_trailerSize] {
        Hashed hashed;
        QByteArray trailer(trailerSize, Qt::Uninitialized);
        if (readAt(handle, size - trailerSize, trailer.data(), trailerSize))
            hashed.chainRead = chainOf(trailer, hashed.chain);
        QCryptographicHash seal(QCryptographicHash::Blake2b_256);
        QByteArray chunk(kSealChunk, Qt::Uninitialized);
        for (qint64 at = 0; at < size - kLogDigestSize; at += kSealChunk) {
            const qint64 length = std::min(kSealChunk, size - kLogDigestSize - at);
            if (!readAt(handle, at, chunk.data(), length))
                return hashed;
            seal.addData(QByteArrayView(chunk.constData(), length));
        }
        hashed.seal = seal.result();
        return hashed;
    });
}

void EntryLogReader::bytesInMemory(QByteArrayView all)
{
    m_all = all;
    if (m_handle >= 0 || all.size() < kEmptyTrailerSize)
        return;
    const qint64 size = qFromLittleEndian<qint64>(all.data() + all.size() - kFooterSize);
    if (size < kEmptyTrailerSize || size > all.size() ||
        all.sliced(all.size() - size, kMagic.size()) != kMagic)
        return;
    m_expected = true;
    m_size = all.size();
    m_trailerSize = size;
    start([all] {
        Hashed hashed;
        hashed.chainRead =
            chainOf(all.last(qFromLittleEndian<qint64>(all.data() + all.size() - kFooterSize)),
                    hashed.chain);
        hashed.seal = sealOf(all.first(all.size() - kLogDigestSize));
        return hashed;
    });
}

void EntryLogReader::start(std::function<Hashed()> work)
{
    try {
        m_hashed = std::async(std::launch::async, std::move(work));
    } catch (const std::system_error &) {
        // No thread to be had: the trailer is hashed when it is read.
    }
}

EntryLogReader::~EntryLogReader()
{
    finish();
}

void EntryLogReader::finish()
{
    if (m_hashed.valid())
        m_hashed.wait();
}

std::optional<QByteArrayView> EntryLogReader::trailerBytes(BinaryReader &in, QByteArray &held,
                                                           EntryLogFindings &findings)
{
    const qint64 remaining = in.remaining();
    const qint64 fileSize = in.position() + remaining;
    QByteArrayView bytes = in.unreadInMemory();
    if (bytes.size() != remaining) {
        held = in.readBytes(std::min<qint64>(remaining, kMagic.size()));
        if (held != kMagic) {
            findings.damaged = looksLikeDamagedTrailer(std::move(held), in, fileSize);
            return std::nullopt;
        }
        held += in.readBytes(remaining - kMagic.size());
        bytes = held;
    }
    if (!bytes.startsWith(kMagic)) {
        findings.damaged = looksLikeDamagedTrailer(bytes, fileSize);
        return std::nullopt;
    }
    return bytes;
}

bool EntryLogReader::readHeader(TrailerCursor &cursor, ReadTrailer &trailer,
                                EntryLogFindings &findings)
{
    QByteArrayView field;
    qint32 &version = trailer.version;
    cursor.bytes(kMagic.size(), field);
    if (!cursor.int32(version) || (version != kVersion && version != kReadingsVersion) ||
        !cursor.int32(trailer.rowCount) || trailer.rowCount < 0 ||
        trailer.rowCount > cursor.left() / 4) {
        findings.damaged = true;
        return false;
    }
    trailer.rowIds.resize(trailer.rowCount);
    for (RowId &id : trailer.rowIds) {
        qint32 value = 0;
        cursor.int32(value);
        id = RowId(value);
    }
    // A record takes at least its length and the kind, moment and row.
    constexpr qsizetype kSmallestRecord = 4 + 1 + 8 + 4;
    if (!cursor.int32(trailer.eventCount) || trailer.eventCount < 0 ||
        trailer.eventCount > cursor.left() / kSmallestRecord) {
        findings.damaged = true;
        trailer.eventCount = 0;
    }
    return true;
}

void EntryLogReader::readEvents(TrailerCursor &cursor, QByteArrayView bytes, const Hashed *hashed,
                                ReadTrailer &trailer, EntryLogFindings &findings)
{
    const qint32 eventCount = trailer.eventCount;
    trailer.events.reserve(std::size_t(eventCount));
    // The chain the hashing thread worked out from the same bytes, where it did.
    const bool chainHashed = hashed && hashed->chainRead &&
                             hashed->chain.size() == qsizetype(eventCount) * kLogDigestSize;
    if (chainHashed)
        trailer.chain = hashed->chain;
    else
        trailer.chain.reserve(qsizetype(eventCount) * kLogDigestSize);
    QCryptographicHash link(QCryptographicHash::Blake2b_256);
    trailer.last = QByteArray(kLogDigestSize, '\0');
    for (qint32 i = 0; i < eventCount && !findings.damaged; ++i) {
        const qsizetype recordStart = cursor.position();
        qint32 length = 0;
        QByteArrayView fields;
        std::optional<EntryEvent> event;
        // Each event introduces at most one identity, in turn: the i-th names none above i.
        if (cursor.int32(length) && cursor.bytes(length, fields))
            event = decodeEntryEvent(fields, RowId(i + 1));
        if (!event || (event->kind == EntryEventKind::OdometerReading &&
                       trailer.version < kReadingsVersion)) {
            findings.damaged = true;
            break;
        }
        if (!chainHashed) {
            link.reset();
            link.addData(trailer.last);
            link.addData(bytes.sliced(recordStart, cursor.position() - recordStart));
            trailer.last = link.result();
            trailer.chain.append(trailer.last);
        }
        trailer.events.push_back(std::move(*event));
    }
    if (findings.damaged)
        trailer.chain.truncate(qsizetype(trailer.events.size()) * kLogDigestSize);
    else if (chainHashed && eventCount > 0)
        trailer.last = trailer.chain.right(kLogDigestSize);
}

void EntryLogReader::checkEnd(TrailerCursor &cursor, QByteArrayView bytes, qint64 start,
                              const Hashed *hashed, QIODevice &device, const ReadTrailer &trailer,
                              EntryLogFindings &findings) const
{
    QByteArrayView storedChain;
    qint64 size = 0;
    QByteArrayView seal;
    if (!cursor.bytes(kLogDigestSize, storedChain) || !cursor.int64(size) ||
        !cursor.bytes(kLogDigestSize, seal) || cursor.left() != 0 || size != bytes.size()) {
        findings.damaged = true;
        return;
    }
    findings.chainBroken = storedChain != QByteArrayView(trailer.last);
    const qint64 sealed = start + bytes.size() - kLogDigestSize;
    findings.sealBroken = (hashed ? hashed->seal : sealOver(sealed, device)) != seal;
}

EntryLogFindings EntryLogReader::read(BinaryReader &in, QIODevice &device, const RowTable &trips,
                                      EntryLog &log)
{
    EntryLogFindings findings;
    const qint64 start = in.position();
    if (in.remaining() == 0)
        return findings;
    QByteArray held;
    const std::optional<QByteArrayView> bytes = trailerBytes(in, held, findings);
    if (!bytes)
        return findings;

    TrailerCursor cursor(*bytes);
    ReadTrailer trailer;
    if (!readHeader(cursor, trailer, findings))
        return findings;
    // What the hashing thread made of the same trailer, where it went by the same bytes.
    Hashed hashed;
    if (m_hashed.valid())
        hashed = m_hashed.get();
    const bool sameTrailer =
        !hashed.seal.isEmpty() && start == m_size - m_trailerSize && bytes->size() == m_trailerSize;
    readEvents(cursor, *bytes, sameTrailer ? &hashed : nullptr, trailer, findings);
    if (!findings.damaged)
        checkEnd(cursor, *bytes, start, sameTrailer ? &hashed : nullptr, device, trailer, findings);

    const qsizetype tripCount = trips.count();
    if (trailer.rowCount != tripCount)
        findings.loggedRowCount = trailer.rowCount;
    keepKnownIdentities(trailer, findings);
    // A file with the trip count it was written with has its rows where the log has them,
    // unless trips were cut out and as many put in.
    const bool rowsCutOrPutIn = trailer.rowCount != tripCount;
    if (!rowsCutOrPutIn)
        trailer.rowIds.resize(std::min(trailer.rowIds.size(), tripCount));
    log.restore(std::move(trailer.rowIds), std::move(trailer.events), std::move(trailer.chain));
    const std::vector<LogDigest> *digests =
        m_digests.size() == std::size_t(tripCount) ? &m_digests : nullptr;
    if (rowsCutOrPutIn)
        log.placeRows(alignedRowIds(log.rowIds(), trips, log, digests));

    findChangedOrMissingTrips(trips, log, digests, findings);
    if (!rowsCutOrPutIn && !findings.changedRows.isEmpty())
        preferMatchedRowsWhereTripsWereCut(trips, log, digests, findings);
    findMovedTrips(trips, log, findings);
    return findings;
}

} // namespace fb
