#pragma once

#include "logbook.h"

#include <QDateTime>

#include <optional>
#include <vector>

namespace fb {

// The start reading a trip will get, from the place in time it will take (trip_placement.h):
// the readings follow the list, so a trip entered late starts where the trips before it end,
// not after the last trip. The trip dialog asks it whenever the departure changes; it holds
// plain values taken from the logbook once, not the logbook.
class TripStartReading {
public:
    // For a new or copied trip. A live trip's distance that does not parse throws
    // ConversionError, as getlastkm does.
    static TripStartReading forNewTrip(const Logbook &logbook);
    // For the new version of the live trip at row, whose old version will be deleted.
    static TripStartReading forChangedTrip(const Logbook &logbook, qsizetype row);

    // The start reading of a trip departing at that moment.
    double at(const QDateTime &departure) const;

private:
    struct LiveTrip {
        std::optional<qint64> departs;
        double startReading = 0;
    };
    // Where a changed trip stays, directly below its old version: while it departs between its
    // live neighbours (a neighbour without a departure holds nothing back).
    struct Stay {
        std::optional<qint64> earliest;
        std::optional<qint64> latest;
        double startReading = 0;
    };

    static TripStartReading from(const Logbook &logbook, std::optional<qsizetype> changedRow);

    std::vector<LiveTrip> m_live; // in table order, without the changed trip
    double m_lastReading = 0;
    std::optional<Stay> m_stay;
};

} // namespace fb
