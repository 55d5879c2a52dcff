#include "logbook_operation.h"

#include "core/ole_date.h"
#include "text_forms.h"
#include "trip_columns.h"
#include "trip_placement.h"

#include <array>

namespace fb {
namespace {

void requireRow(const RowTable &table, qsizetype row, const char *what)
{
    if (row < 0 || row >= table.count())
        throw OperationError(QStringLiteral("%1 %2 does not exist (%3 rows).")
                                 .arg(QLatin1String(what))
                                 .arg(row)
                                 .arg(table.count()));
}

void requireLiveTrip(const RowTable &trips, qsizetype row)
{
    requireRow(trips, row, "Trip");
    if (isDeleted(trips.at(row)))
        throw OperationError(QStringLiteral("Trip %1 is already deleted.").arg(row));
}

Row markedDeleted(Row trip)
{
    trip.padSubItems(TripSubItem::Count);
    trip.subItems[TripSubItem::Deleted] = kDeletedMark;
    return trip;
}

// Records in the log what an operation does to the trips, before the table changes, so that
// the log's rows and the table's rows agree whenever the table tells its views.
class TripRecorder {
public:
    TripRecorder(Logbook &logbook, const QDateTime &appliedAt)
        : m_log(logbook.entryLog), m_trips(logbook.trips),
          m_when(appliedAt.isValid() ? toOleDate(appliedAt.toUTC()) : 0)
    {}

    // The trip at row is deleted; returns its identity.
    RowId deleted(qsizetype row)
    {
        EntryEvent event = newEvent(EntryEventKind::Deleted);
        event.row = m_log.identify(row, m_trips.count());
        event.digest = tripDigest(m_trips.at(row));
        m_log.append(event);
        return event.row;
    }

    // The trip is entered at position, replacing the version with the identity replaces.
    void entered(qsizetype position, const Row &trip, RowId replaces = kNotLogged)
    {
        EntryEvent event = newEvent(EntryEventKind::Entered);
        event.row = m_log.insertNewRow(position, m_trips.count());
        event.replaces = replaces;
        event.digest = tripDigest(trip);
        m_log.append(std::move(event));
    }

    void masterData(const MasterData &before, const MasterData &after)
    {
        for (QStringList &change : masterDataChanges(before, after)) {
            EntryEvent event = newEvent(EntryEventKind::MasterData);
            event.texts = std::move(change);
            m_log.append(std::move(event));
        }
    }

    void odometerReading(const RecordOdometerReading &reading)
    {
        EntryEvent event = newEvent(EntryEventKind::OdometerReading);
        event.readingAt = reading.at;
        event.readingKm = reading.km;
        if (!reading.note.isEmpty())
            event.texts = {reading.note};
        m_log.append(std::move(event));
    }

private:
    EntryEvent newEvent(EntryEventKind kind) const
    {
        EntryEvent event;
        event.kind = kind;
        event.when = m_when;
        return event;
    }

    EntryLog &m_log;
    const RowTable &m_trips;
    double m_when;
};

} // namespace

void checkOperation(const Logbook &logbook, const LogbookOperation &operation)
{
    std::visit(
        Overloaded{
            [&](const CopyTrip &op) { requireRow(logbook.trips, op.source, "Trip"); },
            [&](const ChangeTrip &op) { requireLiveTrip(logbook.trips, op.row); },
            [&](const DeleteTrip &op) { requireLiveTrip(logbook.trips, op.row); },
            [&](const ChangeTemplate &op) { requireRow(logbook.templates, op.row, "Template"); },
            [&](const DeleteTemplate &op) { requireRow(logbook.templates, op.row, "Template"); },
            [](const auto &) {},
        },
        operation);
}

qsizetype applyOperation(Logbook &logbook, const TimedOperation &timed)
{
    const LogbookOperation &operation = timed.operation;
    checkOperation(logbook, operation);
    RowTable &trips = logbook.trips;
    RowTable &templates = logbook.templates;
    TripRecorder record(logbook, timed.appliedAt);
    const auto enter = [&](const Row &trip, qsizetype position, RowId replaces) {
        record.entered(position, trip, replaces);
        trips.insert(position, trip);
        return position;
    };
    return std::visit(Overloaded{
                          [&](const NewTrip &op) {
                              return enter(op.trip, placeOfNewTrip(trips, op.trip), kNotLogged);
                          },
                          [&](const CopyTrip &op) {
                              return enter(op.trip, placeOfNewTrip(trips, op.trip), kNotLogged);
                          },
                          [&](const ChangeTrip &op) {
                              const RowId old = record.deleted(op.row);
                              trips.replace(op.row, markedDeleted(trips.at(op.row)));
                              return enter(op.trip, placeOfChangedTrip(trips, op.row, op.trip),
                                           old);
                          },
                          [&](const DeleteTrip &op) {
                              record.deleted(op.row);
                              trips.replace(op.row, markedDeleted(trips.at(op.row)));
                              return op.row;
                          },
                          [&](const SetMasterData &op) {
                              record.masterData(logbook.master, op.master);
                              logbook.master = op.master;
                              return qsizetype(-1);
                          },
                          [&](const NewTemplate &op) {
                              templates.append(op.entry);
                              return templates.count() - 1;
                          },
                          [&](const ChangeTemplate &op) {
                              templates.replace(op.row, op.entry);
                              return op.row;
                          },
                          [&](const DeleteTemplate &op) {
                              templates.remove(op.row);
                              return op.row;
                          },
                          [&](const SetPrintOptions &op) {
                              logbook.print = op.print;
                              logbook.headingFont = op.headingFont;
                              logbook.textFont = op.textFont;
                              return qsizetype(-1);
                          },
                          [&](const RecordOdometerReading &op) {
                              record.odometerReading(op);
                              return qsizetype(-1);
                          },
                      },
                      operation);
}

bool needsOdometerPass(const LogbookOperation &operation)
{
    return std::holds_alternative<NewTrip>(operation) ||
           std::holds_alternative<CopyTrip>(operation) ||
           std::holds_alternative<ChangeTrip>(operation) ||
           std::holds_alternative<DeleteTrip>(operation) ||
           std::holds_alternative<SetMasterData>(operation);
}

bool marksChanged(const LogbookOperation &operation)
{
    return !std::holds_alternative<SetPrintOptions>(operation);
}

} // namespace fb
