#include "running_totals.h"

#include <variant>

namespace fb {

RunningTotals::RunningTotals(LogbookDocument &document)
    : m_document(document), m_trips(document.logbook().trips)
{
    m_resets = QObject::connect(&m_trips, &RowTable::wasReset, [this] { m_stale = true; });
    m_document.addOperationHook(this);
}

RunningTotals::~RunningTotals()
{
    m_document.removeOperationHook(this);
    QObject::disconnect(m_resets);
}

QString RunningTotals::text()
{
    if (m_stale) {
        m_totals = TripTotals::of(m_trips);
        m_stale = false;
    }
    return m_totals.text();
}

void RunningTotals::beforeOperation(const Logbook &before, const TimedOperation &operation)
{
    // A changed or deleted trip leaves the live trips as it was.
    if (const auto *change = std::get_if<ChangeTrip>(&operation.operation))
        m_totals.remove(before.trips.at(change->row));
    else if (const auto *deletion = std::get_if<DeleteTrip>(&operation.operation))
        m_totals.remove(before.trips.at(deletion->row));
}

void RunningTotals::afterOperation(const TimedOperation &operation, qsizetype row)
{
    const LogbookOperation &applied = operation.operation;
    if (std::holds_alternative<NewTrip>(applied) || std::holds_alternative<CopyTrip>(applied) ||
        std::holds_alternative<ChangeTrip>(applied))
        m_totals.add(m_trips.at(row));
}

} // namespace fb
