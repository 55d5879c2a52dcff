#pragma once

#include "model/logbook.h"
#include "plausibility.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace fb {

// The entry log in German words, for the window, the printout and the command line. Moments are
// shown in local time.

// The log's state for the status bar: "Änderungsprotokoll: intakt", "Änderungsprotokoll:
// außerhalb des Programms verändert", or empty for a logbook without a log.
QString entryLogStateText(const EntryLog &log);

// When each trip was entered, for the plausibility check.
EntryMoment entryMoments(const EntryLog &log);

// By how many days the trip at row was entered after its arrival, where that is more than
// seven (a trip "nachgetragen"); nothing for trips entered in time or not logged.
std::optional<qint64> daysEnteredLate(const Logbook &logbook, qsizetype row);

// The trip at row in a few words: "Fahrt 3: 03.11.2026 08:00 Köln – Bonn, 30,5 km, Kunde".
QString tripSummary(const Logbook &logbook, qsizetype row);

// One event as the protocol window lists it.
struct ProtocolLine {
    QString when; // local "dd.MM.yyyy HH:mm"
    QString kind; // "Erfasst", "Geändert", "Gelöscht", "Stammdaten", "Außerhalb verändert",
                  // "Ablesung"
    qsizetype row = -1; // the trip's row today, or -1
    QString trip;       // "Fahrt 3: ...", the master data field, or "Kilometerstand"
    QString oldValue;
    QString newValue;
    QString note; // "nachgetragen: 15 Tage nach der Ankunft erfasst", what replaced what
};

// Every event in log order (the order in which they happened).
QList<ProtocolLine> protocolLines(const Logbook &logbook);

// The appendix "Änderungsprotokoll" of a printout: deleted and changed trips with both
// moments, trips entered late, master data changes, odometer readings, outside changes, and
// the check value that ties the paper to the file; a last line when the file was changed outside
// the program. Trips are listed where printed(row) says the printout shows them.
struct AppendixSection {
    QString title;
    QStringList lines;
};
QList<AppendixSection> protocolAppendix(const Logbook &logbook,
                                        const std::function<bool(qsizetype row)> &printed);

} // namespace fb
