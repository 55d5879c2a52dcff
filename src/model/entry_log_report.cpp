#include "entry_log_report.h"

#include "core/error.h"
#include "core/ole_date.h"
#include "plausibility.h"
#include "text_forms.h"
#include "trip_columns.h"

namespace fb {
namespace {

// A message names this many trips at most.
constexpr qsizetype kNamedTrips = 20;
// The printed appendix lists this many master data changes and outside changes at most.
constexpr qsizetype kAppendixLinesShown = 2000;

const QString kMomentFormat = QStringLiteral("dd.MM.yyyy HH:mm");

QString shownMoment(const QString &stored)
{
    const std::optional<QDateTime> moment = tryParseDateTimeText(stored);
    return moment ? moment->toString(kMomentFormat) : stored;
}

// "Fahrt 3", "Fahrt 3 und 5", "Fahrt 3, 5 und 8", "... und 12 weitere".
QString tripNumbers(const QList<qsizetype> &rows)
{
    QStringList numbers;
    for (qsizetype i = 0; i < std::min(rows.size(), kNamedTrips); ++i)
        numbers.append(QString::number(rows.at(i) + 1));
    if (rows.size() > kNamedTrips)
        numbers.append(QStringLiteral("%1 weitere").arg(rows.size() - kNamedTrips));
    const QString last = numbers.takeLast();
    return QStringLiteral("Fahrt ") + (numbers.isEmpty() ? last
                                                         : numbers.join(QStringLiteral(", ")) +
                                                               QStringLiteral(" und ") + last);
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

// A master data value from the file or the log, fit for a message: the dates as the dialog
// shows them, control characters escaped.
QString shownLoggedValue(const QString &field, const QString &value)
{
    return fileTextForMessage(shownMasterDataValue(field, value));
}

// "eine protokollierte Fahrt fehlt in der Datei (erfasst am ...)", or several.
QString missingTripsText(const EntryLog &log, const QList<RowId> &ids)
{
    QStringList moments;
    for (qsizetype i = 0; i < std::min(ids.size(), kNamedTrips); ++i) {
        const qsizetype entered = log.enteredEventIndex(ids.at(i));
        moments.append(entered >= 0 ? QStringLiteral("erfasst am ") +
                                          localMomentText(log.events()[std::size_t(entered)].when)
                                    : QStringLiteral("vor dem Protokoll erfasst"));
    }
    if (ids.size() > kNamedTrips)
        moments.append(QStringLiteral("%1 weitere").arg(ids.size() - kNamedTrips));
    return (ids.size() == 1
                ? QStringLiteral("eine protokollierte Fahrt fehlt in der Datei")
                : QStringLiteral("%1 protokollierte Fahrten fehlen in der Datei").arg(ids.size())) +
           QStringLiteral(" (") + moments.join(QStringLiteral("; ")) + QLatin1Char(')');
}

// Which events are master data values a load found changed outside the program: they follow
// the finding at its moment, so that the log expects the values as found from then on.
std::vector<bool> valuesFoundOutside(const EntryLog &log)
{
    std::vector<bool> found(log.events().size(), false);
    const EntryEvent *finding = nullptr;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const EntryEvent &event = log.events()[i];
        if (event.kind == EntryEventKind::OutsideChange)
            finding = &event;
        else if (event.kind != EntryEventKind::MasterData || !finding ||
                 finding->when != event.when)
            finding = nullptr;
        found[i] = finding && event.kind == EntryEventKind::MasterData;
    }
    return found;
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

QString outsideChangeText(const EntryLogFindings &findings, RememberedLog remembered,
                          const Logbook &logbook)
{
    QStringList parts;
    if (!findings.changedRows.isEmpty())
        parts.append(tripNumbers(findings.changedRows) +
                     (findings.changedRows.size() == 1
                          ? QStringLiteral(" stimmt nicht mehr mit dem Protokoll überein")
                          : QStringLiteral(" stimmen nicht mehr mit dem Protokoll überein")));
    if (!findings.missingIds.isEmpty())
        parts.append(missingTripsText(logbook.entryLog, findings.missingIds));
    if (!findings.movedRows.isEmpty())
        parts.append(tripNumbers(findings.movedRows) +
                     (findings.movedRows.size() == 1
                          ? QStringLiteral(" steht nicht mehr an ihrem Platz in der Liste")
                          : QStringLiteral(" stehen nicht mehr an ihrem Platz in der Liste")));
    for (const QStringList &field : findings.masterData)
        parts.append(QStringLiteral("Stammdaten: %1 ist „%2“, protokolliert war „%3“")
                         .arg(field.value(0), shownLoggedValue(field.value(0), field.value(2)),
                              shownLoggedValue(field.value(0), field.value(1))));
    if (findings.loggedRowCount >= 0)
        parts.append(QStringLiteral("die Datei enthält %1 Fahrten, das Protokoll kennt %2")
                         .arg(logbook.trips.count())
                         .arg(findings.loggedRowCount));
    if (findings.damaged)
        parts.append(QStringLiteral("das Änderungsprotokoll ist gekürzt oder beschädigt"));
    if (findings.chainBroken)
        parts.append(QStringLiteral("die Kette des Änderungsprotokolls ist unterbrochen"));
    if (findings.sealBroken)
        parts.append(QStringLiteral("das Siegel passt nicht zum Inhalt der Datei"));
    if (remembered == RememberedLog::Vanished)
        parts.append(QStringLiteral("das Änderungsprotokoll fehlt, obwohl dieses Programm die "
                                    "Datei mit Protokoll gespeichert hat"));
    else if (remembered == RememberedLog::NotContinued)
        parts.append(QStringLiteral("die Datei ist nicht die Fassung, die dieses Programm "
                                    "zuletzt gespeichert hat"));
    return parts.join(QStringLiteral("; "));
}

QDateTime localWallClock(double when)
{
    QDateTime utc = fromOleDate(when);
    if (!utc.isValid())
        return {};
    const QDateTime local = utc.toLocalTime();
    // Near the ends of the calendar the local time may leave the years the text forms hold.
    if (local.date().year() < 1 || local.date().year() > 9999)
        return {};
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QString localMomentText(double when)
{
    const QDateTime local = localWallClock(when);
    return local.isValid() ? local.toString(kMomentFormat)
                           : QStringLiteral("unbekannter Zeitpunkt");
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
            line.kind = foundOutside[std::size_t(lines.size())]
                            ? QStringLiteral("Außerhalb verändert")
                            : QStringLiteral("Stammdaten");
            line.trip = event.texts.value(0);
            line.oldValue = shownMasterDataValue(line.trip, event.texts.value(1));
            line.newValue = shownMasterDataValue(line.trip, event.texts.value(2));
            break;
        case EntryEventKind::OutsideChange:
            line.kind = QStringLiteral("Außerhalb verändert");
            line.note = event.texts.value(0);
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

    QList<AppendixSection> sections;
    for (AppendixSection *section : {&removed, &late, &master, &outside}) {
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
