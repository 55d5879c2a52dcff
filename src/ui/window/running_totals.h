#pragma once

#include "checks/trip_totals.h"
#include "storage/logbook_document.h"

namespace fb {

// The status bar's totals, kept by each trip operation as the document applies it rather than
// counted anew over a long list; counted anew once the trip table was replaced as a whole
// (opened, new, recovered). Follows the document for its own lifetime.
class RunningTotals : public OperationHook {
public:
    explicit RunningTotals(LogbookDocument &document);
    ~RunningTotals() override;
    RunningTotals(const RunningTotals &) = delete;
    RunningTotals &operator=(const RunningTotals &) = delete;

    QString text();

    void beforeOperation(const Logbook &before, const TimedOperation &operation) override;
    void afterOperation(const TimedOperation &operation, qsizetype row) override;

private:
    LogbookDocument &m_document;
    const RowTable &m_trips;
    QMetaObject::Connection m_resets;
    TripTotals m_totals;
    bool m_stale = true;
};

} // namespace fb
