#include "entry_log_dialog.h"

#include "checks/entry_log_report.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace fb {
namespace {

enum Column { When, Kind, Trip, OldValue, NewValue, Note, ColumnCount };

} // namespace

EntryLogDialog::EntryLogDialog(QWidget *parent)
    : TripLinesDialog(QStringLiteral("Events"),
                      {QStringLiteral("Zeitpunkt"), QStringLiteral("Art"), QStringLiteral("Fahrt"),
                       QStringLiteral("Alter Wert"), QStringLiteral("Neuer Wert"),
                       QStringLiteral("Hinweis")},
                      parent)
{
    setObjectName(QStringLiteral("ProtokollForm"));
    setWindowTitle(QStringLiteral("Änderungsprotokoll"));
    summary().setWordWrap(true);
    QTableWidget &events = list();
    events.setWordWrap(false);
    events.verticalHeader()->setDefaultSectionSize(events.fontMetrics().height() + 6);
    for (const auto &[column, width] :
         {std::pair{When, 115}, {Kind, 115}, {Trip, 135}, {OldValue, 320}, {NewValue, 320}})
        events.setColumnWidth(column, width);
    resize(1200, 480);
}

void EntryLogDialog::showLog(const Logbook &logbook)
{
    const EntryLog &log = logbook.entryLog;
    QList<QStringList> lines;
    QList<qsizetype> tripRows;
    for (const ProtocolLine &event : protocolLines(logbook)) {
        lines.append(
            {event.when, event.kind, event.trip, event.oldValue, event.newValue, event.note});
        tripRows.append(event.row);
    }
    const QString summaryText =
        log.isEmpty() ? QStringLiteral("Dieses Fahrtenbuch hat noch kein Änderungsprotokoll: "
                                       "es beginnt mit der ersten Fahrt, die hier erfasst, "
                                       "geändert oder gelöscht wird.")
                      : QStringLiteral("%1. &Ereignisse: %2, Prüfwert %3 (Doppelklick zeigt "
                                       "die Fahrt)")
                            .arg(entryLogStateText(log))
                            .arg(log.events().size())
                            .arg(log.checkValue());
    // The latest event is the one most likely looked for.
    showLines(lines, tripRows, summaryText, int(lines.size()) - 1);
}

} // namespace fb
