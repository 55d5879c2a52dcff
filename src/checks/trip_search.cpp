#include "trip_search.h"

#include "model/trip_columns.h"

namespace fb {
namespace {

bool tripContains(const Row &trip, const QString &text)
{
    static constexpr qsizetype kSearched[] = {TripSubItem::DeparturePlace, TripSubItem::ArrivalTime,
                                              TripSubItem::ArrivalPlace, TripSubItem::Purpose,
                                              TripSubItem::Kind};
    if (trip.caption.contains(text, Qt::CaseInsensitive))
        return true;
    for (const qsizetype subItem : kSearched) {
        if (subItem < trip.subItems.size() &&
            trip.subItems.at(subItem).contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

qsizetype findTrip(const RowTable &trips, const QString &text, qsizetype after)
{
    const qsizetype count = trips.count();
    if (text.isEmpty() || count == 0)
        return -1;
    const qsizetype start = (after < 0 || after >= count) ? 0 : after + 1;
    for (qsizetype step = 0; step < count; ++step) {
        const qsizetype row = (start + step) % count;
        if (tripContains(trips.at(row), text))
            return row;
    }
    return -1;
}

} // namespace fb
