#pragma once

#include "audit_table.h"
#include "model/logbook.h"

#include <QDate>

#include <optional>

namespace fb {

// The logbook as the tables a tax audit reads.

// Every row of the trip table in list order, deleted and replaced versions included, with
// when the entry log says each was entered and deleted and which row replaced it.
AuditTable auditTripTable(const Logbook &logbook);
// Every event of the entry log in log order.
AuditTable auditProtocolTable(const Logbook &logbook);
// One row with every field of the master data.
AuditTable auditMasterDataTable(const MasterData &master);

// The first and the last departure of all trips; nothing while no trip has a readable one.
struct AuditPeriod {
    QDate first;
    QDate last;
};
std::optional<AuditPeriod> auditPeriod(const RowTable &trips);

} // namespace fb
