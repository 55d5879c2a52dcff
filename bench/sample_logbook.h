#pragma once

#include "model/logbook.h"
#include "model/odometer.h"

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

} // namespace fb::bench
