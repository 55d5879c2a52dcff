#include "checks/trip_search.h"
#include "checks/trip_totals.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

void fillSampleTrips(RowTable &trips)
{
    trips.append(test::trip("02.11.2026 08:00:00", "Köln", "02.11.2026 09:00:00", "Bonn", "30",
                            "Kunde Meier", "Geschäftlich"));
    trips.append(test::trip("03.11.2026 08:00:00", "Bonn", "03.11.2026 09:00:00", "Siegburg",
                            "20,5", "Einkauf", "Privat", "Ja"));
    trips.append(test::trip("04.11.2026 08:00:00", "Siegburg", "04.11.2026 09:00:00", "KÖLN",
                            "32,25", "Rückfahrt", "Geschäftlich"));
    trips.append(test::trip("05.11.2026 08:00:00", "Köln", "05.11.2026 08:30:00", "Frechen",
                            "kaputt", "Baumarkt", "Privat"));
}

TEST(TripSearch, FindsTheNextMatchBelowAndGoesRoundIgnoringCase)
{
    RowTable trips;
    fillSampleTrips(trips);
    EXPECT_EQ(findTrip(trips, "köln", -1), 0);
    EXPECT_EQ(findTrip(trips, "köln", 0), 2) << "upper case in the list matches";
    EXPECT_EQ(findTrip(trips, "köln", 2), 3);
    EXPECT_EQ(findTrip(trips, "köln", 3), 0) << "round to the top";
    EXPECT_EQ(findTrip(trips, "einkauf", 0), 1) << "deleted trips are searched too";
    EXPECT_EQ(findTrip(trips, "04.11.", 3), 2) << "the date";
    EXPECT_EQ(findTrip(trips, "privat", 1), 3) << "the kind";
    EXPECT_EQ(findTrip(trips, "Meier", 0), 0) << "the selected trip itself comes last";
    EXPECT_EQ(findTrip(trips, "Aachen", 1), -1);
    EXPECT_EQ(findTrip(trips, QString(), 1), -1);
}

TEST(TripTotals, CountsTheLiveTripsTheirKilometresAndTheBusinessShare)
{
    RowTable trips;
    fillSampleTrips(trips);
    EXPECT_EQ(tripTotalsText(trips), QStringLiteral("3 Fahrten · 62,3 km · 100,0 % geschäftlich"))
        << "a distance that does not read counts nothing";
    RowTable one;
    one.append(
        test::trip("02.11.2026 08:00:00", "A", "02.11.2026 09:00:00", "B", "10", "x", "Privat"));
    EXPECT_EQ(tripTotalsText(one), QStringLiteral("1 Fahrt · 10,0 km · 0,0 % geschäftlich"));
    EXPECT_EQ(tripTotalsText(RowTable()),
              QStringLiteral("0 Fahrten · 0,0 km · 0,0 % geschäftlich"));
}

} // namespace
} // namespace fb
