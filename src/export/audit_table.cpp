#include "audit_table.h"

#include "core/error.h"
#include "model/text_forms.h"

#include <cmath>

namespace fb {
namespace {

// A record ends with CRLF; a line break inside a text would end it early for a reader that
// does not look at the quotes, so each break becomes one blank.
QString quoted(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void appendLine(QByteArray &bytes, const QStringList &fields)
{
    bytes += fields.join(QLatin1Char(';')).toUtf8();
    bytes += "\r\n";
}

} // namespace

QByteArray auditCsv(const AuditTable &table)
{
    QByteArray bytes;
    QStringList fields;
    for (const AuditColumn &column : table.columns)
        fields.append(quoted(column.name));
    appendLine(bytes, fields);
    for (const QStringList &row : table.rows) {
        fields.clear();
        for (qsizetype i = 0; i < table.columns.size(); ++i) {
            const QString value = row.value(i);
            fields.append(table.columns.at(i).type == AuditColumnType::Text ? quoted(value)
                                                                            : value);
        }
        appendLine(bytes, fields);
    }
    return bytes;
}

QString auditKilometres(double value)
{
    // Two decimals as the auditor's tool reads them; -0 would look like a sign of its own.
    QString text = QString::number(value == 0 ? 0.0 : value, 'f', 2);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString auditNumberOrEmpty(const QString &text)
{
    try {
        const double value = parseNumberText(text);
        return std::isfinite(value) ? auditKilometres(value) : QString();
    } catch (const ConversionError &) {
        return QString();
    }
}

} // namespace fb
