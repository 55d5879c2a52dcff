#include "outside_change_text.h"

#include "core/error.h"
#include "model/master_data.h"

#include <QStringList>

namespace fb {
namespace {

// A message names this many trips at most.
constexpr qsizetype kNamedTrips = 20;

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

} // namespace

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

} // namespace fb
