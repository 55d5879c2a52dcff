#pragma once

#include "model/logbook.h"
#include "model/logbook_operation.h"
#include "model/odometer.h"
#include "model/text_forms.h"

#include <QString>

namespace fb::bench {

// A logbook of trips such as a user would have after years: varied places and purposes,
// every tenth trip deleted (with its corrected copy below it), readings derived.
inline void fillTrips(Logbook &logbook, int tripCount)
{
    static const QStringList places = {QStringLiteral("Köln"),      QStringLiteral("Düsseldorf"),
                                       QStringLiteral("Bonn"),      QStringLiteral("München"),
                                       QStringLiteral("Hamburg"),   QStringLiteral("Berlin"),
                                       QStringLiteral("Straßburg"), QStringLiteral("Aachen")};
    logbook.master.startKm = 12345;
    const RowTable::BulkUpdate bulk(logbook.trips, RowTable::BulkKind::Reset);
    logbook.trips.reserve(tripCount);
    for (int i = 0; i < tripCount; ++i) {
        const int day = 1 + i % 28;
        const int month = 1 + (i / 28) % 12;
        const QString date = QStringLiteral("%1.%2.2026")
                                 .arg(day, 2, 10, QLatin1Char('0'))
                                 .arg(month, 2, 10, QLatin1Char('0'));
        Row &trip = logbook.trips.appendForUpdate();
        trip.caption = date + QStringLiteral(" 08:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'));
        trip.subItems = {places.at(i % places.size()),
                         date + QStringLiteral(" 09:15:00"),
                         places.at((i * 7 + 3) % places.size()),
                         QStringLiteral("%1,%2").arg(5 + i % 400).arg(i % 10),
                         QStringLiteral("Kundentermin Nr. %1").arg(i),
                         i % 3 == 0 ? QStringLiteral("Privat") : QStringLiteral("Geschäftlich"),
                         i % 10 == 9 ? QStringLiteral("Ja") : QString()};
    }
}

// A logbook of trips as the program enters them, every one logged: one every three hours from
// 2020 on, each entered the day after it, every tenth deleted a day later. They are entered
// latest first, so that each goes to the top of the list without a long search for its place.
inline void fillLoggedTrips(Logbook &logbook, int tripCount)
{
    static const QStringList places = {QStringLiteral("Köln"), QStringLiteral("Düsseldorf"),
                                       QStringLiteral("Bonn"), QStringLiteral("München"),
                                       QStringLiteral("Hamburg"), QStringLiteral("Aachen")};
    logbook.master.startKm = 12345;
    const QDateTime first(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC);
    for (int i = tripCount - 1; i >= 0; --i) {
        const QDateTime departs = first.addSecs(qint64(i) * 3 * 3600);
        const Row trip{formatDateTimeText(departs),
                       {places.at(i % places.size()), formatDateTimeText(departs.addSecs(3600)),
                        places.at((i * 7 + 3) % places.size()),
                        QStringLiteral("%1,%2").arg(5 + i % 400).arg(i % 10),
                        QStringLiteral("Kundentermin Nr. %1").arg(i),
                        i % 3 == 0 ? QStringLiteral("Privat") : QStringLiteral("Geschäftlich")}};
        applyOperation(logbook, {NewTrip{trip}, departs.addDays(1)});
    }
    for (int i = 9; i < tripCount; i += 10)
        applyOperation(logbook, {DeleteTrip{i}, first.addSecs(qint64(i) * 3 * 3600).addDays(2)});
    UpdateKMSTands(logbook);
}

} // namespace fb::bench
