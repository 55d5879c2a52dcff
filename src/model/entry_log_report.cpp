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
                          qsizetype tripCount)
{
    QStringList parts;
    if (!findings.changedRows.isEmpty())
        parts.append(tripNumbers(findings.changedRows) +
                     (findings.changedRows.size() == 1
                          ? QStringLiteral(" stimmt nicht mehr mit dem Protokoll überein")
                          : QStringLiteral(" stimmen nicht mehr mit dem Protokoll überein")));
    if (findings.loggedRowCount >= 0)
        parts.append(QStringLiteral("die Datei enthält %1 Fahrten, das Protokoll kennt %2")
                         .arg(tripCount)
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
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QString localMomentText(double when)
{
    const QDateTime local = localWallClock(when);
    return local.isValid() ? local.toString(kMomentFormat) : QString();
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
            line.kind = QStringLiteral("Stammdaten");
            line.trip = event.texts.value(0);
            line.oldValue = event.texts.value(1);
            line.newValue = event.texts.value(2);
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

    AppendixSection master{QStringLiteral("Stammdaten"), {}};
    AppendixSection outside{QStringLiteral("Außerhalb des Programms verändert"), {}};
    for (const EntryEvent &event : log.events()) {
        if (event.kind == EntryEventKind::MasterData)
            master.lines.append(QStringLiteral("am %1: %2 von „%3“ auf „%4“")
                                    .arg(localMomentText(event.when), event.texts.value(0),
                                         event.texts.value(1), event.texts.value(2)));
        else if (event.kind == EntryEventKind::OutsideChange)
            outside.lines.append(QStringLiteral("festgestellt am %1: %2")
                                     .arg(localMomentText(event.when), event.texts.value(0)));
    }

    QList<AppendixSection> sections;
    for (AppendixSection *section : {&removed, &late, &master, &outside}) {
        if (!section->lines.isEmpty())
            sections.append(std::move(*section));
    }
    AppendixSection check{QStringLiteral("Prüfwert: ") + log.checkValue(),
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
