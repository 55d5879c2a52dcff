#pragma once

#include "row_table.h"

#include <QDateTime>

#include <optional>

namespace fb {

// Where the trip commands put a trip: in its place in time among the live trips, so that the
// odometer pass, which follows the list, gives it readings between those of its neighbours. A
// trip entered late (a backdated trip) would otherwise end up below later trips with readings
// no odometer ever showed.

// The departure of a trip as a number that orders moments: seconds since the start of the
// calendar; nothing when the caption is no date and time.
std::optional<qint64> departureKey(const QString &caption);
// The same for a moment, as the trip dialog holds it, to the second.
qint64 departureKey(const QDateTime &moment);

// A new or copied trip goes directly before the first live trip that departs after it; at the
// end when none does.
qsizetype placeOfNewTrip(const RowTable &trips, const Row &trip);

// The new version of the trip at oldRow (already marked deleted) goes directly below it while
// its departure still fits between the live trips above and below; elsewhere like a new trip.
qsizetype placeOfChangedTrip(const RowTable &trips, qsizetype oldRow, const Row &trip);

} // namespace fb
