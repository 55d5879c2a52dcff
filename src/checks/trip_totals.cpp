#include "trip_totals.h"

#include "core/error.h"
#include "evaluation.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <cmath>

namespace fb {
namespace {

double readableDistance(const Row &trip)
{
    try {
        const double distance = parseNumberText(trip.subItem(TripSubItem::Distance));
        return std::isfinite(distance) ? distance : 0;
    } catch (const ConversionError &) {
        return 0;
    }
}

} // namespace

TripTotals TripTotals::of(const RowTable &trips)
{
    TripTotals totals;
    for (const Row &trip : trips.rows())
        totals.add(trip);
    return totals;
}

void TripTotals::count(const Row &trip, int sign)
{
    if (isDeleted(trip))
        return;
    m_trips += sign;
    (isBusinessTrip(trip) ? m_businessKm : m_privateKm) += sign * readableDistance(trip);
}

QString TripTotals::text() const
{
    const double businessKm = double(m_businessKm);
    const double kilometres = double(m_businessKm + m_privateKm);
    const double businessShare = kilometres != 0 ? 100 * businessKm / kilometres : 0;
    return QStringLiteral("%1 %2 · %3 km · %4 % geschäftlich")
        .arg(m_trips)
        .arg(m_trips == 1 ? QStringLiteral("Fahrt") : QStringLiteral("Fahrten"),
             formatKilometres(kilometres, 1), formatKilometres(businessShare, 1));
}

} // namespace fb
