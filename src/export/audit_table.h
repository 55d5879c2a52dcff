#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace fb {

// A table of the data handed to a tax audit: a CSV file and its description in index.xml.
// The values are kept as the file shows them (numbers with a decimal comma, dates as
// dd.MM.yyyy); only the texts are quoted when the file is written.

enum class AuditColumnType {
    Integer,    // a whole number without decimals: row numbers
    Kilometres, // a number with exactly two decimals
    Date,       // dd.MM.yyyy
    Text,       // anything else, times (HH:mm) included
};

struct AuditColumn {
    QString name;
    AuditColumnType type = AuditColumnType::Text;
};

// A column of this table that names a row of another: its Nr.
struct AuditReference {
    QString column;
    QString table;        // the other table's name
    QString targetColumn; // its primary key
};

struct AuditTable {
    QString fileName;    // "fahrten.csv"
    QString name;        // "Fahrten"
    QString description; // a sentence for the auditor
    QList<AuditColumn> columns;
    // How many of the first columns form the primary key; 0 for none.
    qsizetype keyColumns = 0;
    std::optional<AuditReference> reference;
    QList<QStringList> rows;
};

// The file: a header line with the column names, then one line per row; every line ends in
// CRLF, columns are separated by ";", texts are quoted with '"' (inner quotes doubled, line
// breaks turned into a blank), numbers and dates are written bare. UTF-8 without a byte order
// mark.
QByteArray auditCsv(const AuditTable &table);

// The forms the values take.
QString auditKilometres(double value);           // "1234,50": decimal comma, no grouping
QString auditNumberOrEmpty(const QString &text); // a stored number text as above, or empty

} // namespace fb
