#pragma once

#include "model/row_table.h"

#include <QString>

namespace fb {

// The live trips at a glance: "35 Fahrten · 515,1 km · 92,1 % geschäftlich", the kilometres
// with one decimal as the printed evaluation shows them, and the business share of those
// kilometres. A distance that does not read counts 0 km here: the line must never fail.
// Kept up to date trip by trip, so that a change to a long list need not count it again; the
// sums are long enough that taking a trip out and putting it back leaves no trace in the text.
class TripTotals {
public:
    static TripTotals of(const RowTable &trips);

    // A trip that enters or leaves the live trips; a deleted one counts nothing.
    void add(const Row &trip) { count(trip, +1); }
    void remove(const Row &trip) { count(trip, -1); }

    QString text() const;

private:
    void count(const Row &trip, int sign);

    qint64 m_trips = 0;
    long double m_businessKm = 0;
    long double m_privateKm = 0;
};

inline QString tripTotalsText(const RowTable &trips)
{
    return TripTotals::of(trips).text();
}

} // namespace fb
