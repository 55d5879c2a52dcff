#include "audit_index.h"

#include <QFile>
#include <QXmlStreamWriter>

namespace fb {
namespace {

const QString kDateFormat = QStringLiteral("DD.MM.YYYY");

void writeValidity(QXmlStreamWriter &xml, const AuditPeriod &period)
{
    xml.writeStartElement(QStringLiteral("Validity"));
    xml.writeStartElement(QStringLiteral("Range"));
    xml.writeTextElement(QStringLiteral("From"),
                         period.first.toString(QStringLiteral("dd.MM.yyyy")));
    xml.writeTextElement(QStringLiteral("To"), period.last.toString(QStringLiteral("dd.MM.yyyy")));
    xml.writeEndElement();
    xml.writeTextElement(QStringLiteral("Format"), kDateFormat);
    xml.writeEndElement();
}

void writeColumn(QXmlStreamWriter &xml, const AuditColumn &column, bool key)
{
    xml.writeStartElement(key ? QStringLiteral("VariablePrimaryKey")
                              : QStringLiteral("VariableColumn"));
    xml.writeTextElement(QStringLiteral("Name"), column.name);
    switch (column.type) {
    case AuditColumnType::Integer:
        xml.writeEmptyElement(QStringLiteral("Numeric"));
        break;
    case AuditColumnType::Kilometres:
        xml.writeStartElement(QStringLiteral("Numeric"));
        xml.writeTextElement(QStringLiteral("Accuracy"), QStringLiteral("2"));
        xml.writeEndElement();
        break;
    case AuditColumnType::Date:
        xml.writeStartElement(QStringLiteral("Date"));
        xml.writeTextElement(QStringLiteral("Format"), kDateFormat);
        xml.writeEndElement();
        break;
    case AuditColumnType::Text:
        xml.writeEmptyElement(QStringLiteral("AlphaNumeric"));
        break;
    }
    xml.writeEndElement();
}

void writeVariableLength(QXmlStreamWriter &xml, const AuditTable &table)
{
    xml.writeStartElement(QStringLiteral("VariableLength"));
    xml.writeTextElement(QStringLiteral("ColumnDelimiter"), QStringLiteral(";"));
    // As character references: a parser reads a line break written as it is as a bare LF.
    xml.writeStartElement(QStringLiteral("RecordDelimiter"));
    xml.writeEntityReference(QStringLiteral("#13"));
    xml.writeEntityReference(QStringLiteral("#10"));
    xml.writeEndElement();
    xml.writeTextElement(QStringLiteral("TextEncapsulator"), QStringLiteral("\""));
    for (qsizetype i = 0; i < table.columns.size(); ++i)
        writeColumn(xml, table.columns.at(i), i < table.keyColumns);
    if (table.reference) {
        xml.writeStartElement(QStringLiteral("ForeignKey"));
        xml.writeTextElement(QStringLiteral("Name"), table.reference->column);
        xml.writeTextElement(QStringLiteral("References"), table.reference->table);
        xml.writeStartElement(QStringLiteral("Alias"));
        xml.writeTextElement(QStringLiteral("From"), table.reference->column);
        xml.writeTextElement(QStringLiteral("To"), table.reference->targetColumn);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writeTable(QXmlStreamWriter &xml, const AuditTable &table,
                const std::optional<AuditPeriod> &period)
{
    xml.writeStartElement(QStringLiteral("Table"));
    xml.writeTextElement(QStringLiteral("URL"), table.fileName);
    xml.writeTextElement(QStringLiteral("Name"), table.name);
    xml.writeTextElement(QStringLiteral("Description"), table.description);
    if (period)
        writeValidity(xml, *period);
    xml.writeEmptyElement(QStringLiteral("UTF8"));
    xml.writeTextElement(QStringLiteral("DecimalSymbol"), QStringLiteral(","));
    xml.writeTextElement(QStringLiteral("DigitGroupingSymbol"), QStringLiteral("."));
    // The first line names the columns.
    xml.writeStartElement(QStringLiteral("Range"));
    xml.writeTextElement(QStringLiteral("From"), QStringLiteral("2"));
    xml.writeEndElement();
    writeVariableLength(xml, table);
    xml.writeEndElement();
}

} // namespace

QByteArray auditDtd()
{
    QFile file(QStringLiteral(":/export/gdpdu-01-09-2004.dtd"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the audit DTD is not among the program's resources");
    return file.readAll();
}

AuditSupplier auditSupplier(const Logbook &logbook)
{
    const MasterData &master = logbook.master;
    AuditSupplier supplier{keeperName(master), master.town,
                           QStringLiteral("Fahrtenbuch ") + master.registrationNumber};
    const QString checkValue = logbook.entryLog.printedCheckValue();
    if (!checkValue.isEmpty())
        supplier.comment += QStringLiteral(", Prüfwert ") + checkValue;
    return supplier;
}

QByteArray auditIndexXml(const AuditSupplier &supplier, const QList<AuditTable> &tables,
                         const std::optional<AuditPeriod> &period)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(
        QStringLiteral("<!DOCTYPE DataSet SYSTEM \"%1\">").arg(QLatin1String(kAuditDtdFileName)));
    xml.writeStartElement(QStringLiteral("DataSet"));
    xml.writeTextElement(QStringLiteral("Version"), QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("DataSupplier"));
    xml.writeTextElement(QStringLiteral("Name"), supplier.name);
    xml.writeTextElement(QStringLiteral("Location"), supplier.location);
    xml.writeTextElement(QStringLiteral("Comment"), supplier.comment);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("Media"));
    xml.writeTextElement(QStringLiteral("Name"), QStringLiteral("Fahrtenbuch"));
    for (const AuditTable &table : tables)
        writeTable(xml, table, period);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace fb
