#include "entry_log.h"

#include "core/ole_date.h"
#include "master_data.h"
#include "trip_columns.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <array>
#include <bit>
#include <cstring>

namespace fb {
namespace {

const QString kMomentFormat = QStringLiteral("dd.MM.yyyy HH:mm");

// Little-endian fields appended to a record.
class RecordWriter {
public:
    void byte(quint8 value) { m_bytes.append(char(value)); }
    void uint32(quint32 value)
    {
        const quint32 little = qToLittleEndian(value);
        m_bytes.append(reinterpret_cast<const char *>(&little), sizeof little);
    }
    void float64(double value) { raw(qToLittleEndian(std::bit_cast<quint64>(value))); }
    void digest(const LogDigest &value)
    {
        m_bytes.append(reinterpret_cast<const char *>(value.data()), kLogDigestSize);
    }
    void text(const QString &value)
    {
        uint32(quint32(value.size()));
        for (const QChar c : value) {
            const char16_t unit = qToLittleEndian(c.unicode());
            m_bytes.append(reinterpret_cast<const char *>(&unit), 2);
        }
    }
    QByteArray &bytes() { return m_bytes; }

private:
    void raw(quint64 little) { m_bytes.append(reinterpret_cast<const char *>(&little), 8); }
    QByteArray m_bytes;
};

// Reads a record's fields; every read says whether the bytes held it.
class RecordReader {
public:
    explicit RecordReader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos == m_bytes.size(); }
    bool byte(quint8 &value)
    {
        if (left() < 1)
            return false;
        value = quint8(m_bytes.at(m_pos++));
        return true;
    }
    bool uint32(quint32 &value)
    {
        if (left() < 4)
            return false;
        value = qFromLittleEndian<quint32>(m_bytes.data() + m_pos);
        m_pos += 4;
        return true;
    }
    bool float64(double &value)
    {
        if (left() < 8)
            return false;
        value = std::bit_cast<double>(qFromLittleEndian<quint64>(m_bytes.data() + m_pos));
        m_pos += 8;
        return true;
    }
    bool digest(LogDigest &value)
    {
        if (left() < kLogDigestSize)
            return false;
        std::memcpy(value.data(), m_bytes.data() + m_pos, kLogDigestSize);
        m_pos += kLogDigestSize;
        return true;
    }
    bool text(QString &value)
    {
        quint32 length = 0;
        if (!uint32(length) || length > quint32(left() / 2))
            return false;
        value.resize(qsizetype(length));
        qFromLittleEndian<char16_t>(m_bytes.data() + m_pos, qsizetype(length),
                                    reinterpret_cast<char16_t *>(value.data()));
        m_pos += 2 * qsizetype(length);
        return true;
    }

private:
    qsizetype left() const { return m_bytes.size() - m_pos; }
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

bool validId(RowId id, RowId maxRowId)
{
    return id <= maxRowId;
}

// The field names the program writes, so that a long log shares one copy of each name instead
// of holding one per event.
QString sharedFieldName(const QString &name)
{
    static const QStringList names = [] {
        QStringList all;
        for (const MasterDataField &field : masterDataFields(MasterData()))
            all.append(field.name);
        return all;
    }();
    const qsizetype at = names.indexOf(name);
    return at >= 0 ? names.at(at) : name;
}

} // namespace

LogDigest logHash(QByteArrayView first, QByteArrayView second)
{
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    hash.addData(first);
    if (!second.isEmpty())
        hash.addData(second);
    LogDigest result{};
    const QByteArrayView value = hash.resultView();
    std::memcpy(result.data(), value.data(), kLogDigestSize);
    return result;
}

LogDigest tripDigest(const Row &trip)
{
    RecordWriter out;
    out.text(trip.caption);
    for (qsizetype i = 0; i < kDigestedSubItems; ++i)
        out.text(trip.subItem(i));
    return logHash(out.bytes());
}

QByteArray encodeEntryEvent(const EntryEvent &event)
{
    RecordWriter out;
    out.uint32(0); // the length, filled in below
    out.byte(quint8(event.kind));
    out.float64(event.when);
    out.uint32(event.row);
    switch (event.kind) {
    case EntryEventKind::Entered:
        out.digest(event.digest);
        out.uint32(event.replaces);
        break;
    case EntryEventKind::Deleted:
        out.digest(event.digest);
        break;
    case EntryEventKind::MasterData:
        for (qsizetype i = 0; i < 3; ++i)
            out.text(event.texts.value(i));
        break;
    case EntryEventKind::OutsideChange:
        out.text(event.texts.value(0));
        out.uint32(quint32(event.found.size()));
        for (const FoundRow &row : event.found) {
            out.uint32(row.id);
            out.digest(row.digest);
            out.byte(row.deleted ? 1 : 0);
        }
        break;
    case EntryEventKind::OdometerReading:
        out.float64(event.readingAt);
        out.float64(event.readingKm);
        out.text(event.texts.value(0));
        break;
    }
    QByteArray &bytes = out.bytes();
    qToLittleEndian(quint32(bytes.size() - 4), bytes.data());
    return bytes;
}

std::optional<EntryEvent> decodeEntryEvent(QByteArrayView fields, RowId maxRowId)
{
    RecordReader in(fields);
    EntryEvent event;
    quint8 kind = 0;
    if (!in.byte(kind) || !in.float64(event.when) || !in.uint32(event.row) ||
        !validId(event.row, maxRowId))
        return std::nullopt;
    event.kind = EntryEventKind(kind);
    switch (event.kind) {
    case EntryEventKind::Entered:
        if (event.row == kNotLogged || !in.digest(event.digest) || !in.uint32(event.replaces) ||
            !validId(event.replaces, maxRowId))
            return std::nullopt;
        break;
    case EntryEventKind::Deleted:
        if (event.row == kNotLogged || !in.digest(event.digest))
            return std::nullopt;
        break;
    case EntryEventKind::MasterData: {
        std::array<QString, 3> texts;
        for (QString &text : texts) {
            if (!in.text(text))
                return std::nullopt;
        }
        if (!texts[0].isEmpty() || !texts[1].isEmpty() || !texts[2].isEmpty())
            event.texts = {sharedFieldName(texts[0]), texts[1], texts[2]};
        break;
    }
    case EntryEventKind::OutsideChange: {
        QString text;
        quint32 count = 0;
        if (!in.text(text) || !in.uint32(count) ||
            count > quint32(fields.size() / (4 + kLogDigestSize + 1)))
            return std::nullopt;
        if (!text.isEmpty())
            event.texts = {text};
        event.found.resize(qsizetype(count));
        for (FoundRow &row : event.found) {
            quint8 deleted = 0;
            if (!in.uint32(row.id) || row.id == kNotLogged || !validId(row.id, maxRowId) ||
                !in.digest(row.digest) || !in.byte(deleted) || deleted > 1)
                return std::nullopt;
            row.deleted = deleted == 1;
        }
        break;
    }
    case EntryEventKind::OdometerReading: {
        QString note;
        if (!in.float64(event.readingAt) || !in.float64(event.readingKm) || !in.text(note))
            return std::nullopt;
        if (!note.isEmpty())
            event.texts = {note};
        break;
    }
    default:
        return std::nullopt;
    }
    // Exactly the bytes the event takes: a record is stored as the program writes it, so
    // writing the log again keeps its chain.
    if (event.row != kNotLogged && event.kind != EntryEventKind::Entered &&
        event.kind != EntryEventKind::Deleted)
        return std::nullopt;
    if (!in.atEnd())
        return std::nullopt;
    return event;
}

EntryLogState EntryLog::state() const
{
    if (m_events.empty())
        return EntryLogState::None;
    return m_changedOutside ? EntryLogState::ChangedOutside : EntryLogState::Intact;
}

std::vector<qsizetype> EntryLog::rowsById() const
{
    std::vector<qsizetype> rows(m_byId.size(), -1);
    for (qsizetype row = 0; row < m_rowIds.size(); ++row) {
        const RowId id = m_rowIds.at(row);
        if (id != kNotLogged && id < rows.size())
            rows[id] = row;
    }
    return rows;
}

const EntryLog::IdState *EntryLog::stateOf(RowId id) const
{
    return id != kNotLogged && id < m_byId.size() ? &m_byId[id] : nullptr;
}

EntryLog::IdState *EntryLog::stateOf(RowId id)
{
    return id != kNotLogged && id < m_byId.size() ? &m_byId[id] : nullptr;
}

const EntryEvent *EntryLog::enteredEvent(qsizetype row) const
{
    const IdState *state = stateOf(idOf(row));
    return state && state->entered >= 0 ? &m_events[std::size_t(state->entered)] : nullptr;
}

qsizetype EntryLog::enteredEventIndex(RowId id) const
{
    const IdState *state = stateOf(id);
    return state ? state->entered : -1;
}

const EntryEvent *EntryLog::deletedEvent(qsizetype row) const
{
    const IdState *state = stateOf(idOf(row));
    return state && state->deleted >= 0 ? &m_events[std::size_t(state->deleted)] : nullptr;
}

std::optional<EntryLog::Expected> EntryLog::expected(RowId id) const
{
    const IdState *state = stateOf(id);
    if (!state || !state->known)
        return std::nullopt;
    return Expected{state->digest, state->deletedMark};
}

QByteArray EntryLog::chainValue() const
{
    return m_chain.right(kLogDigestSize);
}

bool EntryLog::chainPassedThrough(QByteArrayView value) const
{
    if (value.size() != kLogDigestSize)
        return false;
    for (qsizetype at = 0; at < m_chain.size(); at += kLogDigestSize) {
        if (QByteArrayView(m_chain).sliced(at, kLogDigestSize) == value)
            return true;
    }
    return false;
}

QString EntryLog::checkValue() const
{
    return QString::fromLatin1(chainValue().toHex().left(16));
}

QString EntryLog::printedCheckValue() const
{
    const qsizetype written = m_chain.size() - m_unwrittenFinding * kLogDigestSize;
    return written < kLogDigestSize
               ? QString()
               : QString::fromLatin1(m_chain.sliced(written - kLogDigestSize, 8).toHex());
}

void EntryLog::padRows(qsizetype tableCount)
{
    if (m_rowIds.size() < tableCount)
        m_rowIds.resize(tableCount, kNotLogged);
}

RowId EntryLog::newId()
{
    m_byId.emplace_back();
    return RowId(m_byId.size() - 1);
}

RowId EntryLog::insertNewRow(qsizetype position, qsizetype tableCount)
{
    padRows(tableCount);
    const RowId id = newId();
    m_rowIds.insert(position, id);
    return id;
}

RowId EntryLog::identify(qsizetype row, qsizetype tableCount)
{
    padRows(tableCount);
    RowId &id = m_rowIds[row];
    if (id == kNotLogged)
        id = newId();
    return id;
}

void EntryLog::append(EntryEvent event)
{
    const QByteArray record = encodeEntryEvent(event);
    const QByteArray previous = m_chain.isEmpty() ? QByteArray(kLogDigestSize, '\0') : chainValue();
    const LogDigest next = logHash(previous, record);
    m_chain.append(reinterpret_cast<const char *>(next.data()), kLogDigestSize);
    m_events.push_back(std::move(event));
    m_unwrittenFinding = 0;
    index(qsizetype(m_events.size()) - 1);
}

void EntryLog::appendFinding(std::vector<EntryEvent> events)
{
    const qsizetype count = qsizetype(events.size());
    for (EntryEvent &event : events)
        append(std::move(event));
    m_unwrittenFinding = count;
}

void EntryLog::index(qsizetype eventIndex)
{
    const EntryEvent &event = m_events[std::size_t(eventIndex)];
    const auto stateFor = [this](RowId id) -> IdState & {
        if (id >= m_byId.size())
            m_byId.resize(std::size_t(id) + 1);
        return m_byId[id];
    };
    switch (event.kind) {
    case EntryEventKind::Entered:
    case EntryEventKind::Deleted: {
        const bool deleted = event.kind == EntryEventKind::Deleted;
        IdState &state = stateFor(event.row);
        (deleted ? state.deleted : state.entered) = qint32(eventIndex);
        state.known = true;
        state.deletedMark = deleted;
        state.digest = event.digest;
        break;
    }
    case EntryEventKind::MasterData:
        break;
    case EntryEventKind::OdometerReading:
        ++m_readingCount;
        break;
    case EntryEventKind::OutsideChange:
        m_changedOutside = true;
        for (const FoundRow &row : event.found) {
            IdState &state = stateFor(row.id);
            state.known = row.digest != kGoneDigest;
            state.deletedMark = row.deleted;
            state.digest = row.digest;
        }
        break;
    }
}

void EntryLog::clear()
{
    *this = EntryLog();
}

void EntryLog::restore(QList<RowId> rowIds, std::vector<EntryEvent> events, QByteArray chain)
{
    clear();
    m_rowIds = std::move(rowIds);
    m_events = std::move(events);
    m_chain = std::move(chain);
    RowId largest = 0;
    for (const RowId id : std::as_const(m_rowIds))
        largest = std::max(largest, id);
    m_byId.resize(std::size_t(largest) + 1);
    for (qsizetype i = 0; i < qsizetype(m_events.size()); ++i)
        index(i);
}

QDateTime localWallClock(double when)
{
    QDateTime utc = fromOleDate(when);
    if (!utc.isValid())
        return {};
    const QDateTime local = utc.toLocalTime();
    // Near the ends of the calendar the local time may leave the years the text forms hold.
    if (local.date().year() < 1 || local.date().year() > 9999)
        return {};
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QString localMomentText(double when)
{
    const QDateTime local = localWallClock(when);
    return local.isValid() ? local.toString(kMomentFormat)
                           : QStringLiteral("unbekannter Zeitpunkt");
}

} // namespace fb
