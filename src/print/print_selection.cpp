#include "print_selection.h"

#include "core/ole_date.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <cmath>

namespace fb {
namespace {

// The day of a stored moment: the whole days of its date value, truncated toward zero.
double dayOf(const QString &dateTimeText)
{
    return std::trunc(toOleDate(parseDateTimeText(dateTimeText)));
}

} // namespace

PrintSelection::PrintSelection(const PrintSettings &settings)
    : m_settings(settings), m_fromDay(std::trunc(settings.rangeFrom)),
      m_toDay(std::trunc(settings.rangeTo))
{}

bool PrintSelection::selects(const Row &trip) const
{
    if (m_settings.printDateRange) {
        const double departureDay = dayOf(trip.caption);
        const double arrivalDay = dayOf(trip.subItem(TripSubItem::ArrivalTime));
        // A trip that starts before the range or ends after it still belongs to it.
        if (m_fromDay > arrivalDay || m_toDay < departureDay)
            return false;
    }
    return isBusinessTrip(trip) ? m_settings.printBusinessTrips : m_settings.printPrivateTrips;
}

} // namespace fb
