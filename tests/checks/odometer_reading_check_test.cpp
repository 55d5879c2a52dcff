#include "checks/logbook_check.h"
#include "core/ole_date.h"
#include "model/logbook_operation.h"
#include "sample_logbook.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

Row tripOn(int day, const QString &departs, const QString &arrives, const QString &distance,
           const QString &deleted = {})
{
    const QString date = QStringLiteral("%1.11.2026 ").arg(day);
    return test::trip(date + departs, QStringLiteral("Köln"), date + arrives,
                      QStringLiteral("Bonn"), distance, QStringLiteral("Kunde"),
                      QStringLiteral("Geschäftlich"), deleted);
}

void read(Logbook &logbook, int day, int hour, double km)
{
    applyOperation(logbook, {RecordOdometerReading{toOleDate(QDate(2026, 11, day), QTime(hour, 0)),
                                                   km, QStringLiteral("Tanken")},
                             QDateTime(QDate(2026, 11, 28), QTime(9, 0), Qt::UTC)});
}

QStringList linesOf(const Logbook &logbook)
{
    QStringList lines;
    for (const Finding &finding : checkOdometerReadings(logbook))
        lines.append(findingLine(logbook.trips, finding));
    return lines;
}

// The readings follow the list: the reading at a moment is the end reading of the last live
// trip in the list that has arrived by then, whatever its place in time.
TEST(OdometerReadingCheck, ComparesWithTheChainAtTheMomentAndToleratesOneKilometre)
{
    Logbook logbook;
    logbook.master.startKm = 48000;
    logbook.trips.assign(
        {tripOn(25, QStringLiteral("08:00:00"), QStringLiteral("09:00:00"), QStringLiteral("900")),
         tripOn(24, QStringLiteral("08:00:00"), QStringLiteral("09:00:00"), QStringLiteral("500"),
                QStringLiteral("Ja")),
         tripOn(24, QStringLiteral("10:00:00"), QStringLiteral("11:00:00"), QStringLiteral("27")),
         tripOn(25, QStringLiteral("13:00:00"), QStringLiteral("14:00:00"),
                QStringLiteral("100"))});
    read(logbook, 25, 12, 48950);    // the first and the third have arrived: 48927
    read(logbook, 24, 7, 47987.5);   // before every trip: the start reading
    read(logbook, 25, 12, 48928.04); // 1,04 rounds to 1,0: not more than 1 km
    read(logbook, 24, 12, 48926);    // only the third has arrived; it ends at 48927 in the list
    read(logbook, 26, 8, 49027);     // after every trip
    EXPECT_EQ(linesOf(logbook),
              QStringList({QStringLiteral("Ablesung (25.11.2026 12:00): Kilometerstand 48950 "
                                          "abgelesen, das Fahrtenbuch ergibt 48927: 23 km fehlen."),
                           QStringLiteral("Ablesung (24.11.2026 07:00): Kilometerstand 47987,5 "
                                          "abgelesen, das Fahrtenbuch ergibt 48000: 12,5 km zu "
                                          "viel.")}));
}

} // namespace
} // namespace fb
