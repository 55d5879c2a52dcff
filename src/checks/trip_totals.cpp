#include "trip_totals.h"

#include "core/error.h"
#include "evaluation.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <cmath>

namespace fb {

QString tripTotalsText(const RowTable &trips)
{
    Evaluation totals;
    for (const Row &trip : trips.rows()) {
        if (isDeleted(trip))
            continue;
        double distance = 0;
        try {
            distance = parseNumberText(trip.subItem(TripSubItem::Distance));
        } catch (const ConversionError &) {
        }
        totals.add(trip, std::isfinite(distance) ? distance : 0);
    }
    const qint64 count = qint64(totals.businessCount) + totals.privateCount;
    const double kilometres = totals.businessKm + totals.privateKm;
    const double businessShare = kilometres != 0 ? 100 * totals.businessKm / kilometres : 0;
    return QStringLiteral("%1 %2 · %3 km · %4 % geschäftlich")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("Fahrt") : QStringLiteral("Fahrten"),
             formatKilometres(kilometres, 1), formatKilometres(businessShare, 1));
}

} // namespace fb
