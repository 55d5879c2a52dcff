#include "trip_start_reading.h"

#include "text_forms.h"
#include "trip_columns.h"
#include "trip_placement.h"

#include <algorithm>

namespace fb {

TripStartReading TripStartReading::forNewTrip(const Logbook &logbook)
{
    return from(logbook, std::nullopt);
}

TripStartReading TripStartReading::forChangedTrip(const Logbook &logbook, qsizetype row)
{
    return from(logbook, row);
}

TripStartReading TripStartReading::from(const Logbook &logbook, std::optional<qsizetype> changedRow)
{
    TripStartReading result;
    const RowTable &trips = logbook.trips;
    double running = logbook.master.startKm;
    std::optional<qint64> liveAbove;
    bool nextLiveIsBelowChanged = false;
    for (qsizetype i = 0; i < trips.count(); ++i) {
        const Row &trip = trips.at(i);
        if (i == changedRow) {
            // Its old version will be deleted and adds nothing to the readings below it.
            result.m_stay = Stay{liveAbove, std::nullopt, running};
            nextLiveIsBelowChanged = true;
            continue;
        }
        if (isDeleted(trip))
            continue;
        const std::optional<qint64> departs = trips.departureKeyAt(i);
        if (nextLiveIsBelowChanged) {
            result.m_stay->latest = departs;
            nextLiveIsBelowChanged = false;
        }
        result.m_live.push_back(LiveTrip{departs, running});
        running += parseNumberText(trip.subItem(TripSubItem::Distance));
        liveAbove = departs;
    }
    result.m_lastReading = running;
    return result;
}

double TripStartReading::at(const QDateTime &departure) const
{
    const qint64 key = departureKey(departure);
    if (m_stay && (!m_stay->earliest || *m_stay->earliest <= key) &&
        (!m_stay->latest || key <= *m_stay->latest))
        return m_stay->startReading;
    // Like a new trip: before the first live trip that departs later.
    const auto later = std::find_if(m_live.cbegin(), m_live.cend(), [key](const LiveTrip &trip) {
        return trip.departs && *trip.departs > key;
    });
    return later == m_live.cend() ? m_lastReading : later->startReading;
}

} // namespace fb
