#include "checks/plausibility.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace fb {
namespace {

// A trip on 12.11.2026 from a given departure to a given arrival time.
Row tripAt(const QString &departs, const QString &arrives, const QString &distance = "10",
           const QString &kind = "Geschäftlich", const QString &purpose = "Kunde",
           const QString &deleted = {})
{
    return test::trip("12.11.2026 " + departs, "A", "12.11.2026 " + arrives, "B", distance, purpose,
                      kind, deleted);
}

struct Case {
    const char *what;
    QList<Row> trips;
    QStringList lines; // what the check says, as the command line prints it
    std::map<qsizetype, QDateTime> entered = {};
};

TEST(Plausibility, FindsEachKindOfDoubtAtItsBoundaryAndNotBefore)
{
    const QDateTime arrival(QDate(2026, 11, 12), QTime(9, 0), Qt::UTC);
    const QList<Case> cases = {
        {"a sound logbook", {tripAt("08:00", "09:00"), tripAt("09:00", "10:00")}, {}},
        {"out of time order",
         {tripAt("10:00", "11:00"), tripAt("08:00", "09:00")},
         {"Fahrt 2 (12.11.2026 08:00): Abfahrt vor der Abfahrt der vorigen Fahrt (12.11.2026 "
          "10:00)"}},
        {"overlapping, not also out of order",
         {tripAt("08:00", "09:30"), tripAt("09:00", "10:00")},
         {"Fahrt 2 (12.11.2026 09:00): Abfahrt vor der Ankunft der vorigen Fahrt 1 (12.11.2026 "
          "09:30)"}},
        {"an arrival date left behind: the long trip is named on both lines",
         {test::trip("12.11.2026 08:00", "A", "15.11.2026 09:00", "B", "10", "Kunde",
                     "Geschäftlich"),
          tripAt("10:00", "11:00"),
          test::trip("12.11.2026 08:00", "A", "13.11.2026 08:00", "B", "10", "Kunde",
                     "Geschäftlich", "Ja")},
         {"Fahrt 1 (12.11.2026 08:00): Fahrt dauert länger als 24 Stunden",
          "Fahrt 2 (12.11.2026 10:00): Abfahrt vor der Ankunft der vorigen Fahrt 1 (15.11.2026 "
          "09:00)"}},
        {"deleted rows are neither checked nor compared",
         {tripAt("08:00", "09:00"), tripAt("07:00", "07:00", "-5", "Geschäftlich", "", "Ja"),
          tripAt("09:00", "10:00")},
         {}},
        {"arrival not after departure",
         {tripAt("09:00", "09:00", "0")},
         {"Fahrt 1 (12.11.2026 09:00): Ankunft nicht nach der Abfahrt (Ankunft 12.11.2026 "
          "09:00)"}},
        {"negative, too long and no number",
         {tripAt("01:00", "02:00", "-3"), tripAt("03:00", "23:00", "100000,5"),
          tripAt("23:10", "23:20", "zehn")},
         {"Fahrt 1 (12.11.2026 01:00): Entfernung negativ (-3 km)",
          "Fahrt 2 (12.11.2026 03:00): Entfernung über 100000 km (100000,5 km)",
          "Fahrt 2 (12.11.2026 03:00): Durchschnitt 5000 km/h",
          "Fahrt 3 (12.11.2026 23:10): Entfernung \"zehn\" ist keine Zahl"}},
        {"100000 km and exactly 200 km/h are still plausible, 20 days are not",
         {test::trip("01.10.2026 00:00:00", "A", "21.10.2026 20:00:00", "B", "100000", "Kunde",
                     "Geschäftlich"),
          tripAt("08:00", "09:00", "200")},
         {"Fahrt 1 (01.10.2026 00:00): Fahrt dauert länger als 24 Stunden"}},
        {"just over 200 km/h",
         {tripAt("08:00", "09:00", "200,1")},
         {"Fahrt 1 (12.11.2026 08:00): Durchschnitt 200,1 km/h"}},
        {"a business trip needs a purpose, a private one none",
         {tripAt("08:00", "09:00", "10", "Geschäftlich", " \r\n"),
          tripAt("10:00", "11:00", "10", "Privat", "")},
         {"Fahrt 1 (12.11.2026 08:00): Geschäftliche Fahrt ohne Fahrtzweck"}},
        {"entered exactly 7 days after the arrival, and a second later",
         {tripAt("08:00", "09:00"), tripAt("10:00", "11:00"), tripAt("12:00", "13:00")},
         {"Fahrt 2 (12.11.2026 10:00): Nachgetragen: erfasst am 19.11.2026 11:00, 7 Tage nach "
          "der Ankunft"},
         {{0, arrival.addDays(7)}, {1, arrival.addDays(7).addSecs(2 * 3600 + 1)}}},
        {"two findings on one trip give two lines",
         {tripAt("08:00", "09:00"), tripAt("07:00", "06:00", "10", "Geschäftlich", "")},
         {"Fahrt 2 (12.11.2026 07:00): Abfahrt vor der Abfahrt der vorigen Fahrt (12.11.2026 "
          "08:00)",
          "Fahrt 2 (12.11.2026 07:00): Ankunft nicht nach der Abfahrt (Ankunft 12.11.2026 06:00)",
          "Fahrt 2 (12.11.2026 07:00): Geschäftliche Fahrt ohne Fahrtzweck"}},
    };
    for (const Case &c : cases) {
        RowTable trips;
        for (const Row &row : c.trips)
            trips.append(row);
        const EntryMoment entered = [&c](qsizetype row) -> std::optional<QDateTime> {
            const auto found = c.entered.find(row);
            if (found == c.entered.end())
                return std::nullopt;
            return found->second;
        };
        QStringList lines;
        for (const Finding &finding : checkPlausibility(trips, entered))
            lines.append(findingLine(trips, finding));
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

} // namespace
} // namespace fb
