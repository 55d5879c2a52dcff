#include "logbook_operation.h"

#include "trip_columns.h"

namespace fb {
namespace {

template<class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

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

qsizetype applyOperation(Logbook &logbook, const LogbookOperation &operation)
{
    checkOperation(logbook, operation);
    RowTable &trips = logbook.trips;
    RowTable &templates = logbook.templates;
    return std::visit(Overloaded{
                          [&](const NewTrip &op) {
                              trips.append(op.trip);
                              return trips.count() - 1;
                          },
                          [&](const CopyTrip &op) {
                              trips.append(op.trip);
                              return trips.count() - 1;
                          },
                          [&](const ChangeTrip &op) {
                              trips.replace(op.row, markedDeleted(trips.at(op.row)));
                              trips.insert(op.row + 1, op.trip);
                              return op.row + 1;
                          },
                          [&](const DeleteTrip &op) {
                              trips.replace(op.row, markedDeleted(trips.at(op.row)));
                              return op.row;
                          },
                          [&](const SetMasterData &op) {
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
