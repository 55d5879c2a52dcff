#include "logbook_json.h"

#include "core/ole_date.h"
#include "text_forms.h"

#include <QJsonArray>

#include <cmath>

namespace fb {
namespace {

QJsonArray rowsToJson(const RowTable &table)
{
    QJsonArray rows;
    for (const Row &row : table.rows()) {
        rows.append(
            QJsonObject{{QStringLiteral("caption"), row.caption},
                        {QStringLiteral("subitems"), QJsonArray::fromStringList(row.subItems)}});
    }
    return rows;
}

// A stored date as its raw value and, where it is a date at all, its date-time text.
QJsonObject dateToJson(double value)
{
    const QDateTime dateTime = fromOleDate(value);
    return QJsonObject{
        {QStringLiteral("value"), std::isfinite(value) ? QJsonValue(value) : QJsonValue()},
        {QStringLiteral("text"),
         dateTime.isValid() ? QJsonValue(formatDateTimeText(dateTime)) : QJsonValue()}};
}

QJsonObject fontToJson(const PrintFont &font)
{
    return QJsonObject{
        {QStringLiteral("face"), font.face},
        {QStringLiteral("sizePoints"), font.sizePoints},
        {QStringLiteral("pixelsPerInch"), font.pixelsPerInch},
        {QStringLiteral("bold"), font.bold()},
        {QStringLiteral("italic"), font.italic()},
        {QStringLiteral("underline"), font.underline()},
        {QStringLiteral("strikeOut"), font.strikeOut()},
        {QStringLiteral("color"), static_cast<qint64>(static_cast<quint32>(font.color))},
        {QStringLiteral("charset"), font.charset},
        {QStringLiteral("pitch"), font.pitch},
    };
}

} // namespace

QJsonObject logbookToJson(const Logbook &logbook)
{
    const MasterData &m = logbook.master;
    const QJsonObject master{
        {QStringLiteral("company"), m.company},
        {QStringLiteral("firstName"), m.firstName},
        {QStringLiteral("lastName"), m.lastName},
        {QStringLiteral("street"), m.street},
        {QStringLiteral("postcode"), m.postcode},
        {QStringLiteral("town"), m.town},
        {QStringLiteral("country"), m.country},
        {QStringLiteral("telephone"), m.telephone},
        {QStringLiteral("registrationNumber"), m.registrationNumber},
        {QStringLiteral("registrationAuthority"), m.registrationAuthority},
        {QStringLiteral("startKm"), m.startKm},
        {QStringLiteral("firstRegistration"), dateToJson(m.firstRegistration)},
        {QStringLiteral("registration"), dateToJson(m.registration)},
    };
    const PrintSettings &p = logbook.print;
    const QJsonObject print{
        {QStringLiteral("printAllTrips"), p.printAllTrips()},
        {QStringLiteral("printDateRange"), p.printDateRange},
        {QStringLiteral("rangeFrom"), dateToJson(p.rangeFrom)},
        {QStringLiteral("rangeTo"), dateToJson(p.rangeTo)},
        {QStringLiteral("printMasterData"), p.printMasterData},
        {QStringLiteral("printPrivateTrips"), p.printPrivateTrips},
        {QStringLiteral("printBusinessTrips"), p.printBusinessTrips},
        {QStringLiteral("heading"), p.heading},
        {QStringLiteral("printEvaluation"), p.printEvaluation},
        {QStringLiteral("printFinalOdometer"), p.printFinalOdometer},
    };
    return QJsonObject{
        {QStringLiteral("trips"), rowsToJson(logbook.trips)},
        {QStringLiteral("templates"), rowsToJson(logbook.templates)},
        {QStringLiteral("masterData"), master},
        {QStringLiteral("printSettings"), print},
        {QStringLiteral("headingFont"), fontToJson(logbook.headingFont)},
        {QStringLiteral("textFont"), fontToJson(logbook.textFont)},
    };
}

} // namespace fb
