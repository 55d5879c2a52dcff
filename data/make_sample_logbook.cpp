// Writes a small sample logbook for looking at the program and for the README's screenshot:
// three weeks of trips of a tradesman's van, one trip changed and one deleted, a few templates
// and the master data. Usage: make_sample_logbook OUT.fbu
#include "model/odometer.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"
#include "storage/logbook_document.h"

#include <QCoreApplication>

#include <cstdio>

using namespace fb;

namespace {

struct Route {
    const char *from;
    const char *to;
    double km;
    const char *purpose;
    bool business;
};

const Route kRoutes[] = {
    {"Münster, Hafenweg 4", "Greven, Marktstraße 12", 18.4, "Kundendienst Heizung Fam. Berger",
     true},
    {"Münster, Hafenweg 4", "Telgte, Ostbeverner Str. 3", 14.2, "Angebot Badsanierung", true},
    {"Münster, Hafenweg 4", "Großhandel Gievenbeck", 7.6, "Material abholen (Rohre, Fittings)",
     true},
    {"Münster, Hafenweg 4", "Emsdetten, Kirchstraße 8", 29.5, "Wartung Solaranlage", true},
    {"Münster, Hafenweg 4", "Münster, Wochenmarkt", 3.1, "Einkauf", false},
    {"Münster, Hafenweg 4", "Warendorf, Freckenhorster Str. 21", 27.8, "Baustelle Neubau Lange",
     true},
};

Row tripOf(const QDateTime &departure, const Route &route)
{
    Row row;
    row.caption = formatDateTimeText(departure);
    const QDateTime arrival = departure.addSecs(60 * (qRound(route.km * 2) + 10));
    row.subItems = {
        QString::fromUtf8(route.from),    formatDateTimeText(arrival),
        QString::fromUtf8(route.to),      formatNumberText(route.km),
        QString::fromUtf8(route.purpose), route.business ? kBusinessTripKind : kPrivateTripKind};
    return row;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_sample_logbook OUT.fbu\n", stderr);
        return 2;
    }
    LogbookDocument document;
    Logbook &logbook = document.logbook();
    MasterData &master = logbook.master;
    master.company = QStringLiteral("Sanitär Beispiel GmbH");
    master.firstName = QStringLiteral("Erika");
    master.lastName = QStringLiteral("Musterfrau");
    master.street = QStringLiteral("Hafenweg 4");
    master.postcode = QStringLiteral("48155");
    master.town = QStringLiteral("Münster");
    master.country = QStringLiteral("Deutschland");
    master.registrationNumber = QStringLiteral("MS-XY 123");
    master.registrationAuthority = QStringLiteral("Stadt Münster");
    master.startKm = 48210;

    int routeIndex = 0;
    for (int day = 2; day <= 20; ++day) {
        const QDate date(2026, 11, day);
        if (date.dayOfWeek() > 5)
            continue;
        for (const int hour : {7, 13}) {
            const Route &route = kRoutes[routeIndex++ % std::size(kRoutes)];
            logbook.trips.append(tripOf(QDateTime(date, QTime(hour, 30)), route));
        }
    }
    // A trip deleted, and one changed: the old version marked, the new one below it.
    Row deleted = logbook.trips.at(5);
    deleted.padSubItems(TripSubItem::Count);
    deleted.subItems[TripSubItem::Deleted] = kDeletedMark;
    logbook.trips.replace(5, deleted);
    Row changed = logbook.trips.at(9);
    Row corrected = changed;
    corrected.subItems[TripSubItem::Distance] = formatNumberText(31.2);
    corrected.subItems[TripSubItem::Purpose] += QStringLiteral(" (Umleitung)");
    changed.padSubItems(TripSubItem::Count);
    changed.subItems[TripSubItem::Deleted] = kDeletedMark;
    logbook.trips.replace(9, changed);
    logbook.trips.insert(10, corrected);

    for (const Route &route : kRoutes) {
        Row entry;
        entry.caption = QString::fromUtf8(route.to);
        entry.subItems = {QString::fromUtf8(route.from), QString::fromUtf8(route.to),
                          formatNumberText(route.km), QString::fromUtf8(route.purpose),
                          route.business ? kBusinessTripKind : kPrivateTripKind};
        logbook.templates.append(entry);
    }
    UpdateKMSTands(logbook);
    try {
        document.SaveTheFileAs(QString::fromLocal8Bit(argv[1]));
    } catch (const fb::Error &error) {
        std::fprintf(stderr, "make_sample_logbook: %s\n", error.what());
        return 1;
    }
    return 0;
}
