#include "entry_log_report.h"

#include "core/ole_date.h"
#include "model/found_outside.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"
#include "plausibility.h"

namespace fb {
namespace {

// The printed appendix lists this many master data changes and outside changes at most.
constexpr qsizetype kAppendixLinesShown = 2000;

const QString kMomentFormat = QStringLiteral("dd.MM.yyyy HH:mm");

QString shownMoment(const QString &stored)
{
    const std::optional<QDateTime> moment = tryParseDateTimeText(stored);
    return moment ? moment->toString(kMomentFormat) : stored;
}

const EntryEvent *eventOf(const EntryLog &log, qsizetype row, bool entered)
{
    return entered ? log.enteredEvent(row) : log.deletedEvent(row);
}

QString flattened(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    text.replace(QLatin1Char('\n'), QLatin1String(" / "));
    text.replace(QLatin1Char('\r'), QLatin1String(" / "));
    return text;
}

// The trip's values in a few words, without its number.
QString tripValues(const Row &trip)
{
    QString text = shownMoment(trip.caption) + QLatin1Char(' ') +
                   trip.subItem(TripSubItem::DeparturePlace) + QStringLiteral(" – ") +
                   trip.subItem(TripSubItem::ArrivalPlace) + QStringLiteral(", ") +
                   trip.subItem(TripSubItem::Distance) + QStringLiteral(" km");
    const QString purpose = trip.subItem(TripSubItem::Purpose);
    if (!purpose.isEmpty())
        text += QStringLiteral(", ") + flattened(purpose);
    return text + QStringLiteral(" (") + trip.subItem(TripSubItem::Kind) + QLatin1Char(')');
}

// The master data changes and the changes found outside the program, a section each. A run of
// changes of one field at one moment is one line, and beyond kAppendixLinesShown lines a
// section counts the rest: a log forged to hold millions of events must not fill thousands of
// pages, and the file keeps every one of them.
std::pair<AppendixSection, AppendixSection> masterDataAndOutsideSections(const EntryLog &log)
{
    AppendixSection master{QStringLiteral("Stammdaten"), {}};
    AppendixSection outside{QStringLiteral("Außerhalb des Programms verändert"), {}};
    qsizetype masterMore = 0;
    qsizetype outsideMore = 0;
    const std::vector<bool> foundOutside = valuesFoundOutside(log);
    const auto &events = log.events();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const EntryEvent &event = events[i];
        if (event.kind != EntryEventKind::OutsideChange && event.kind != EntryEventKind::MasterData)
            continue;
        const bool isOutside = event.kind == EntryEventKind::OutsideChange || foundOutside[i];
        AppendixSection &section = isOutside ? outside : master;
        if (section.lines.size() >= kAppendixLinesShown) {
            ++(isOutside ? outsideMore : masterMore);
            continue;
        }
        const QString when = localMomentText(event.when);
        if (event.kind == EntryEventKind::OutsideChange) {
            section.lines.append(
                QStringLiteral("festgestellt am %1: %2").arg(when, event.texts.value(0)));
            continue;
        }
        const QString field = event.texts.value(0);
        std::size_t last = i;
        while (
            last + 1 < events.size() && events[last + 1].kind == EntryEventKind::MasterData &&
            foundOutside[last + 1] == foundOutside[i] && events[last + 1].texts.value(0) == field &&
            (events[last + 1].when == event.when || localMomentText(events[last + 1].when) == when))
            ++last;
        QString line = QStringLiteral("am %1: %2 von „%3“ auf „%4“")
                           .arg(when, field, shownMasterDataValue(field, event.texts.value(1)),
                                shownMasterDataValue(field, events[last].texts.value(2)));
        if (last > i)
            line += QStringLiteral(" (%1 Änderungen)").arg(last - i + 1);
        section.lines.append(line);
        i = last;
    }
    for (const auto &[section, more] :
         {std::pair(&master, masterMore), std::pair(&outside, outsideMore)}) {
        if (more > 0)
            section->lines.append(
                QStringLiteral("… und %1 weitere Ereignisse (fahrtenbuch --dump-json zeigt alle)")
                    .arg(more));
    }
    return {std::move(master), std::move(outside)};
}

// When a reading was taken: its moment is a wall-clock time already, as the trips' moments.
QString readingMoment(const EntryEvent &reading)
{
    const QDateTime at = fromOleDate(reading.readingAt);
    return at.isValid() ? at.toString(kMomentFormat) : QStringLiteral("unbekannter Zeitpunkt");
}

// "48950 km am 25.11.2026 12:00 (Tanken)".
QString readingText(const EntryEvent &reading)
{
    QString text =
        formatNumberText(reading.readingKm) + QStringLiteral(" km am ") + readingMoment(reading);
    const QString note = reading.texts.value(0);
    if (!note.isEmpty())
        text += QStringLiteral(" (") + flattened(note) + QLatin1Char(')');
    return text;
}

// The readings, in log order, with the moment each was entered; beyond kAppendixLinesShown
// lines the rest are counted, as the master data changes.
AppendixSection readingsSection(const EntryLog &log)
{
    AppendixSection section{QStringLiteral("Abgelesene Kilometerstände"), {}};
    qsizetype more = 0;
    for (const EntryEvent &event : log.events()) {
        if (event.kind != EntryEventKind::OdometerReading)
            continue;
        if (section.lines.size() < kAppendixLinesShown)
            section.lines.append(readingText(event) + QStringLiteral("; erfasst am ") +
                                 localMomentText(event.when));
        else
            ++more;
    }
    if (more > 0)
        section.lines.append(
            QStringLiteral("… und %1 weitere Ablesungen (fahrtenbuch --dump-json zeigt alle)")
                .arg(more));
    return section;
}

QString rowName(qsizetype row)
{
    return row >= 0 ? QStringLiteral("Fahrt %1").arg(row + 1)
                    : QStringLiteral("eine Fahrt, die nicht mehr in der Datei steht");
}

} // namespace

QString entryLogStateText(const EntryLog &log)
{
    switch (log.state()) {
    case EntryLogState::None:
        return QString();
    case EntryLogState::Intact:
        return QStringLiteral("Änderungsprotokoll: intakt");
    case EntryLogState::ChangedOutside:
        return QStringLiteral("Änderungsprotokoll: außerhalb des Programms verändert");
    }
    return QString();
}

EntryMoment entryMoments(const EntryLog &log)
{
    return [&log](qsizetype row) -> std::optional<QDateTime> {
        const EntryEvent *entered = log.enteredEvent(row);
        if (!entered)
            return std::nullopt;
        const QDateTime moment = localWallClock(entered->when);
        return moment.isValid() ? std::optional(moment) : std::nullopt;
    };
}

std::optional<qint64> daysEnteredLate(const Logbook &logbook, qsizetype row)
{
    const EntryEvent *entered = logbook.entryLog.enteredEvent(row);
    if (!entered || row >= logbook.trips.count())
        return std::nullopt;
    const std::optional<QDateTime> arrives =
        tryParseDateTimeText(logbook.trips.at(row).subItem(TripSubItem::ArrivalTime));
    const QDateTime enteredAt = localWallClock(entered->when);
    if (!arrives || !enteredAt.isValid())
        return std::nullopt;
    return daysEnteredLate(*arrives, enteredAt);
}

namespace {

// The protocol line of an event that concerns no trip: master data, a change found outside
// the program, an odometer reading.
void describeTriplessEvent(ProtocolLine &line, const EntryEvent &event, bool foundOutside)
{
    switch (event.kind) {
    case EntryEventKind::MasterData:
        line.kind =
            foundOutside ? QStringLiteral("Außerhalb verändert") : QStringLiteral("Stammdaten");
        line.trip = event.texts.value(0);
        line.oldValue = shownMasterDataValue(line.trip, event.texts.value(1));
        line.newValue = shownMasterDataValue(line.trip, event.texts.value(2));
        break;
    case EntryEventKind::OutsideChange:
        line.kind = QStringLiteral("Außerhalb verändert");
        line.note = event.texts.value(0);
        break;
    case EntryEventKind::OdometerReading:
        line.kind = QStringLiteral("Ablesung");
        line.trip = QStringLiteral("Kilometerstand");
        line.newValue = formatNumberText(event.readingKm);
        line.note = QStringLiteral("abgelesen am ") + readingMoment(event);
        if (!event.texts.value(0).isEmpty())
            line.note += QStringLiteral(": ") + flattened(event.texts.value(0));
        break;
    case EntryEventKind::Entered:
    case EntryEventKind::Deleted:
        break;
    }
}

} // namespace

QString tripSummary(const Logbook &logbook, qsizetype row)
{
    return rowName(row) + QStringLiteral(": ") + tripValues(logbook.trips.at(row));
}

QList<ProtocolLine> protocolLines(const Logbook &logbook)
{
    const EntryLog &log = logbook.entryLog;
    const std::vector<qsizetype> rowsById = log.rowsById();
    const auto rowOf = [&](RowId id) {
        return id != kNotLogged && id < rowsById.size() ? rowsById[id] : qsizetype(-1);
    };
    const auto valuesOf = [&](qsizetype row) {
        return row >= 0 ? tripValues(logbook.trips.at(row)) : QString();
    };
    // Which version replaced a trip, by the replaced trip's identity.
    std::vector<RowId> replacedBy(rowsById.size(), kNotLogged);
    for (const EntryEvent &event : log.events()) {
        if (event.kind == EntryEventKind::Entered && event.replaces < replacedBy.size())
            replacedBy[event.replaces] = event.row;
    }

    const std::vector<bool> foundOutside = valuesFoundOutside(log);
    QList<ProtocolLine> lines;
    for (const EntryEvent &event : log.events()) {
        ProtocolLine line;
        line.when = localMomentText(event.when);
        switch (event.kind) {
        case EntryEventKind::Entered: {
            line.row = rowOf(event.row);
            line.trip = rowName(line.row);
            line.newValue = valuesOf(line.row);
            if (event.replaces != kNotLogged) {
                const qsizetype old = rowOf(event.replaces);
                line.kind = QStringLiteral("Geändert");
                line.oldValue = valuesOf(old);
                line.note = QStringLiteral("ersetzt ") + rowName(old);
            } else {
                line.kind = QStringLiteral("Erfasst");
            }
            if (line.row >= 0) {
                const EntryEvent *entered = log.enteredEvent(line.row);
                const std::optional<qint64> late =
                    entered == &event ? daysEnteredLate(logbook, line.row) : std::nullopt;
                if (late) {
                    const QString note =
                        QStringLiteral("nachgetragen: %1 Tage nach der Ankunft erfasst").arg(*late);
                    line.note =
                        line.note.isEmpty() ? note : line.note + QStringLiteral("; ") + note;
                }
            }
            break;
        }
        case EntryEventKind::Deleted: {
            line.row = rowOf(event.row);
            line.kind = QStringLiteral("Gelöscht");
            line.trip = rowName(line.row);
            line.oldValue = valuesOf(line.row);
            const RowId successor =
                event.row < replacedBy.size() ? replacedBy[event.row] : kNotLogged;
            if (successor != kNotLogged)
                line.note = QStringLiteral("ersetzt durch ") + rowName(rowOf(successor));
            break;
        }
        case EntryEventKind::MasterData:
        case EntryEventKind::OutsideChange:
        case EntryEventKind::OdometerReading:
            describeTriplessEvent(line, event, foundOutside[std::size_t(lines.size())]);
            break;
        }
        lines.append(line);
    }
    return lines;
}

QList<AppendixSection> protocolAppendix(const Logbook &logbook,
                                        const std::function<bool(qsizetype row)> &printed)
{
    const EntryLog &log = logbook.entryLog;
    const RowTable &trips = logbook.trips;
    const std::vector<qsizetype> rowsById = log.rowsById();
    const auto entered = [](const EntryEvent *event) {
        return event ? QStringLiteral("; erfasst am ") + localMomentText(event->when)
                     : QStringLiteral("; erfasst: nicht protokolliert");
    };

    AppendixSection removed{QStringLiteral("Gelöschte und geänderte Fahrten"), {}};
    AppendixSection late{
        QStringLiteral("Nachgetragene Fahrten (mehr als 7 Tage nach der Ankunft erfasst)"), {}};
    std::vector<RowId> replacedBy(rowsById.size(), kNotLogged);
    for (const EntryEvent &event : log.events()) {
        if (event.kind == EntryEventKind::Entered && event.replaces < replacedBy.size())
            replacedBy[event.replaces] = event.row;
    }
    for (qsizetype row = 0; row < trips.count(); ++row) {
        if (!printed(row))
            continue;
        if (const EntryEvent *deleted = eventOf(log, row, false)) {
            const RowId successor = replacedBy[log.idOf(row)];
            QString line = tripSummary(logbook, row) + entered(eventOf(log, row, true));
            if (successor != kNotLogged)
                line += QStringLiteral(", geändert am ") + localMomentText(deleted->when) +
                        QStringLiteral(" (neue Fassung: ") +
                        rowName(successor < rowsById.size() ? rowsById[successor] : -1) +
                        QLatin1Char(')');
            else
                line += QStringLiteral(", gelöscht am ") + localMomentText(deleted->when);
            removed.lines.append(line);
        }
        if (const std::optional<qint64> days = daysEnteredLate(logbook, row))
            late.lines.append(tripSummary(logbook, row) + entered(eventOf(log, row, true)) +
                              QStringLiteral(", %1 Tage nach der Ankunft").arg(*days));
    }

    auto [master, outside] = masterDataAndOutsideSections(log);
    AppendixSection readings = readingsSection(log);

    QList<AppendixSection> sections;
    for (AppendixSection *section : {&removed, &late, &master, &readings, &outside}) {
        if (!section->lines.isEmpty())
            sections.append(std::move(*section));
    }
    const QString checkValue = log.printedCheckValue();
    AppendixSection check{QStringLiteral("Prüfwert: ") +
                              (checkValue.isEmpty() ? QStringLiteral("keiner") : checkValue),
                          {QStringLiteral("Die ersten 16 Stellen des letzten Kettenwerts im "
                                          "Änderungsprotokoll der Datei (fahrtenbuch --verify "
                                          "zeigt ihn).")}};
    if (log.state() == EntryLogState::ChangedOutside)
        check.lines.append(QStringLiteral("Achtung: Dieses Fahrtenbuch wurde außerhalb des "
                                          "Programms verändert (siehe oben)."));
    sections.append(check);
    return sections;
}

} // namespace fb
