#include "odometer.h"

#include "text_forms.h"
#include "trip_columns.h"

namespace fb {
namespace {

double distanceOf(const Row &trip)
{
    return parseNumberText(trip.subItems.at(TripSubItem::Distance));
}

} // namespace

void UpdateKMSTands(Logbook &logbook)
{
    RowTable &trips = logbook.trips;
    const RowTable::BulkUpdate bulk(trips, RowTable::BulkKind::RewriteRows);
    double running = logbook.master.startKm;
    // The end text of one row is the start text of the next: format each reading once.
    QString runningText = formatNumberText(running);
    for (qsizetype i = 0; i < trips.count(); ++i) {
        Row &trip = trips.rowForUpdate(i);
        trip.padSubItems(TripSubItem::Count);
        trip.subItems[TripSubItem::KmStart] = runningText;
        if (!isDeleted(trip)) {
            running += distanceOf(trip);
            runningText = formatNumberText(running);
        }
        trip.subItems[TripSubItem::KmEnd] = runningText;
    }
}

double getlastkm(Logbook &logbook)
{
    RowTable &trips = logbook.trips;
    const RowTable::BulkUpdate bulk(trips, RowTable::BulkKind::RewriteRows);
    double running = logbook.master.startKm;
    for (qsizetype i = 0; i < trips.count(); ++i) {
        Row &trip = trips.rowForUpdate(i);
        trip.padSubItems(TripSubItem::Count);
        if (!isDeleted(trip))
            running += distanceOf(trip);
    }
    return running;
}

} // namespace fb
