#include "audit_tables.h"

#include "core/ole_date.h"
#include "model/found_outside.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

namespace fb {
namespace {

const QString kDateForm = QStringLiteral("dd.MM.yyyy");
const QString kTimeForm = QStringLiteral("HH:mm");

AuditColumn column(const char *name, AuditColumnType type = AuditColumnType::Text)
{
    return AuditColumn{QString::fromUtf8(name), type};
}

// A moment as a date and a time column; both empty where there is none.
void appendMoment(QStringList &row, const QDateTime &moment)
{
    row.append(moment.isValid() ? moment.date().toString(kDateForm) : QString());
    row.append(moment.isValid() ? moment.time().toString(kTimeForm) : QString());
}

void appendStoredMoment(QStringList &row, const QString &stored)
{
    appendMoment(row, tryParseDateTimeText(stored).value_or(QDateTime()));
}

void appendLoggedMoment(QStringList &row, const EntryEvent *event)
{
    appendMoment(row, event ? localWallClock(event->when) : QDateTime());
}

// The rows' numbers in the tables, counted from 1, by the identity the log gave them.
class TripNumbers {
public:
    explicit TripNumbers(const EntryLog &log) : m_rowsById(log.rowsById())
    {
        m_replacedBy.assign(m_rowsById.size(), kNotLogged);
        for (const EntryEvent &event : log.events()) {
            if (event.kind == EntryEventKind::Entered && event.replaces < m_replacedBy.size())
                m_replacedBy[event.replaces] = event.row;
        }
    }

    // The trip's Nr, or nothing for a trip that is no longer in the file.
    std::optional<qsizetype> number(RowId id) const
    {
        if (id == kNotLogged || id >= m_rowsById.size() || m_rowsById[id] < 0)
            return std::nullopt;
        return m_rowsById[id] + 1;
    }
    std::optional<qsizetype> successor(RowId id) const
    {
        return id < m_replacedBy.size() ? number(m_replacedBy[id]) : std::nullopt;
    }

private:
    std::vector<qsizetype> m_rowsById;
    std::vector<RowId> m_replacedBy;
};

QString numberText(std::optional<qsizetype> number)
{
    return number ? QString::number(*number) : QString();
}

QString tripName(std::optional<qsizetype> number)
{
    return number ? QStringLiteral("Fahrt %1").arg(*number)
                  : QStringLiteral("eine Fahrt, die nicht mehr in der Datei steht");
}

// What a change altered: the names of the columns that differ between the old and the new
// version, and their old and new values, each joined with " | ".
struct ChangedValues {
    QStringList fields;
    QStringList before;
    QStringList after;
};

ChangedValues changedValues(const Row &before, const Row &after)
{
    const QStringList titles = tripColumnTitles();
    ChangedValues changed;
    for (qsizetype i = 0; i <= kDigestedSubItems; ++i) {
        const QString old = i == 0 ? before.caption : before.subItem(i - 1);
        const QString now = i == 0 ? after.caption : after.subItem(i - 1);
        if (old == now)
            continue;
        changed.fields.append(titles.at(i));
        changed.before.append(old);
        changed.after.append(now);
    }
    return changed;
}

// The columns Art to Hinweis of one event.
struct ProtocolValues {
    QString kind;
    std::optional<qsizetype> trip;
    QString field;
    QString oldValue;
    QString newValue;
    QString note;
};

ProtocolValues enteredValues(const Logbook &logbook, const EntryEvent &event,
                             const TripNumbers &numbers)
{
    ProtocolValues values{QStringLiteral("Erfasst"), numbers.number(event.row), {}, {}, {}, {}};
    if (event.replaces == kNotLogged)
        return values;
    values.kind = QStringLiteral("Geändert");
    const std::optional<qsizetype> old = numbers.number(event.replaces);
    values.note = QStringLiteral("ersetzt ") + tripName(old);
    if (old && values.trip && *old <= logbook.trips.count() &&
        *values.trip <= logbook.trips.count()) {
        const ChangedValues changed =
            changedValues(logbook.trips.at(*old - 1), logbook.trips.at(*values.trip - 1));
        const QString separator = QStringLiteral(" | ");
        values.field = changed.fields.join(separator);
        values.oldValue = changed.before.join(separator);
        values.newValue = changed.after.join(separator);
    }
    return values;
}

// One event in the table's words. Every kind the log stores has its case here, and the
// compiler names a kind that has none.
// A reading's note and when the odometer was read, a wall-clock time as the trips' moments:
// "Tanken, abgelesen am 25.11.2026 12:00".
QString readingNote(const EntryEvent &reading)
{
    const QDateTime at = fromOleDate(reading.readingAt);
    const QString when = QStringLiteral("abgelesen am ") +
                         (at.isValid() ? at.toString(kDateForm + QLatin1Char(' ') + kTimeForm)
                                       : QStringLiteral("unbekannter Zeitpunkt"));
    const QString note = reading.texts.value(0).simplified();
    return note.isEmpty() ? when : note + QStringLiteral(", ") + when;
}

ProtocolValues protocolValues(const Logbook &logbook, const EntryEvent &event, bool foundOutside,
                              const TripNumbers &numbers)
{
    switch (event.kind) {
    case EntryEventKind::Entered:
        return enteredValues(logbook, event, numbers);
    case EntryEventKind::Deleted: {
        const std::optional<qsizetype> successor = numbers.successor(event.row);
        return {QStringLiteral("Gelöscht"),
                numbers.number(event.row),
                {},
                {},
                {},
                successor ? QStringLiteral("ersetzt durch ") + tripName(successor) : QString()};
    }
    case EntryEventKind::MasterData: {
        const QString field = event.texts.value(0);
        return {foundOutside ? QStringLiteral("Außerhalb verändert") : QStringLiteral("Stammdaten"),
                std::nullopt,
                field,
                shownMasterDataValue(field, event.texts.value(1)),
                shownMasterDataValue(field, event.texts.value(2)),
                {}};
    }
    case EntryEventKind::OutsideChange:
        return {
            QStringLiteral("Außerhalb verändert"), std::nullopt, {}, {}, {}, event.texts.value(0)};
    case EntryEventKind::OdometerReading:
        return {QStringLiteral("Ablesung"),       std::nullopt,
                QStringLiteral("Kilometerstand"), {},
                auditKilometres(event.readingKm), readingNote(event)};
    }
    return {};
}

} // namespace

AuditTable auditTripTable(const Logbook &logbook)
{
    AuditTable table{
        QStringLiteral("fahrten.csv"),
        QStringLiteral("Fahrten"),
        QStringLiteral("Alle Fahrten in der Reihenfolge der Liste, gelöschte und "
                       "ersetzte Fassungen eingeschlossen"),
        {column("Nr", AuditColumnType::Integer), column("Abfahrt Datum", AuditColumnType::Date),
         column("Abfahrt Uhrzeit"), column("Abfahrtsort"),
         column("Ankunft Datum", AuditColumnType::Date), column("Ankunft Uhrzeit"),
         column("Ankunftsort"), column("Entfernung", AuditColumnType::Kilometres),
         column("KM Start", AuditColumnType::Kilometres),
         column("KM Ende", AuditColumnType::Kilometres), column("Fahrtzweck"), column("Art"),
         column("Gelöscht"), column("Erfasst Datum", AuditColumnType::Date),
         column("Erfasst Uhrzeit"), column("Gelöscht Datum", AuditColumnType::Date),
         column("Gelöscht Uhrzeit"), column("Ersetzt durch", AuditColumnType::Integer)},
        1,
        std::nullopt,
        {}};
    const EntryLog &log = logbook.entryLog;
    const TripNumbers numbers(log);
    table.rows.reserve(logbook.trips.count());
    for (qsizetype i = 0; i < logbook.trips.count(); ++i) {
        const Row &trip = logbook.trips.at(i);
        QStringList row{QString::number(i + 1)};
        appendStoredMoment(row, trip.caption);
        row.append(trip.subItem(TripSubItem::DeparturePlace));
        appendStoredMoment(row, trip.subItem(TripSubItem::ArrivalTime));
        row.append(trip.subItem(TripSubItem::ArrivalPlace));
        for (const qsizetype number :
             {TripSubItem::Distance, TripSubItem::KmStart, TripSubItem::KmEnd})
            row.append(auditNumberOrEmpty(trip.subItem(number)));
        row.append(trip.subItem(TripSubItem::Purpose));
        row.append(trip.subItem(TripSubItem::Kind));
        row.append(isDeleted(trip) ? kDeletedMark : QString());
        appendLoggedMoment(row, log.enteredEvent(i));
        appendLoggedMoment(row, log.deletedEvent(i));
        row.append(numberText(numbers.successor(log.idOf(i))));
        table.rows.append(row);
    }
    return table;
}

AuditTable auditProtocolTable(const Logbook &logbook)
{
    AuditTable table{
        QStringLiteral("protokoll.csv"),
        QStringLiteral("Protokoll"),
        QStringLiteral("Das Änderungsprotokoll: jedes Ereignis in der Reihenfolge, "
                       "in der es geschah (Ortszeit)"),
        {column("LfdNr", AuditColumnType::Integer), column("Datum", AuditColumnType::Date),
         column("Uhrzeit"), column("Art"), column("Fahrt Nr", AuditColumnType::Integer),
         column("Feld"), column("alter Wert"), column("neuer Wert"), column("Hinweis")},
        1,
        AuditReference{QStringLiteral("Fahrt Nr"), QStringLiteral("Fahrten"), QStringLiteral("Nr")},
        {}};
    const EntryLog &log = logbook.entryLog;
    const TripNumbers numbers(log);
    const std::vector<bool> foundOutside = valuesFoundOutside(log);
    table.rows.reserve(qsizetype(log.events().size()));
    for (std::size_t i = 0; i < log.events().size(); ++i) {
        const EntryEvent &event = log.events()[i];
        const ProtocolValues values = protocolValues(logbook, event, foundOutside[i], numbers);
        QStringList row{QString::number(i + 1)};
        appendLoggedMoment(row, &event);
        row << values.kind << numberText(values.trip) << values.field << values.oldValue
            << values.newValue << values.note;
        table.rows.append(row);
    }
    return table;
}

AuditTable auditMasterDataTable(const MasterData &master)
{
    AuditTable table{QStringLiteral("stammdaten.csv"),
                     QStringLiteral("Stammdaten"),
                     QStringLiteral("Halter und Fahrzeug"),
                     {},
                     0,
                     std::nullopt,
                     {}};
    QStringList row;
    for (const MasterDataField &field : masterDataFields(master)) {
        if (field.isDate) {
            table.columns.append({field.name, AuditColumnType::Date});
            const std::optional<QDateTime> day = tryParseDateTimeText(field.value);
            row.append(day ? day->date().toString(kDateForm) : QString());
        } else if (field.name == QStringLiteral("Kilometerstand Beginn")) {
            table.columns.append({field.name, AuditColumnType::Kilometres});
            row.append(auditKilometres(master.startKm));
        } else {
            table.columns.append({field.name, AuditColumnType::Text});
            row.append(field.value);
        }
    }
    table.rows.append(row);
    return table;
}

std::optional<AuditPeriod> auditPeriod(const RowTable &trips)
{
    std::optional<AuditPeriod> period;
    for (const Row &trip : trips.rows()) {
        const std::optional<QDateTime> departure = tryParseDateTimeText(trip.caption);
        if (!departure)
            continue;
        const QDate day = departure->date();
        if (!period)
            period = AuditPeriod{day, day};
        period->first = qMin(period->first, day);
        period->last = qMax(period->last, day);
    }
    return period;
}

} // namespace fb
