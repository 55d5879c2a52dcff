#pragma once

#include "audit_table.h"
#include "audit_tables.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace fb {

// The name of the standard's document type definition, which lies beside index.xml.
inline constexpr char kAuditDtdFileName[] = "gdpdu-01-09-2004.dtd";

// The DTD's text as the standard publishes it.
QByteArray auditDtd();

// Who hands the data over.
struct AuditSupplier {
    QString name;     // the keeper's company, or first and last name
    QString location; // the town
    QString comment;  // "Fahrtenbuch <Kennzeichen>", and the entry log's check value
};
AuditSupplier auditSupplier(const Logbook &logbook);

// index.xml: the description of the tables, valid against the DTD, in UTF-8. Every table is
// declared with the period its data covers, where there is one.
QByteArray auditIndexXml(const AuditSupplier &supplier, const QList<AuditTable> &tables,
                         const std::optional<AuditPeriod> &period);

} // namespace fb
