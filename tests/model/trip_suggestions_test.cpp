#include "model/trip_suggestions.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

void fillTrips(RowTable &trips)
{
    trips.append(test::trip("20.11.2026 08:00:00", "Köln, Büro", "20.11.2026 09:00:00",
                            "Bonn, Kunde Meier", "30", "Wartung Heizung", "Geschäftlich"));
    trips.append(test::trip("24.11.2026 08:00:00", "Köln, Büro", "24.11.2026 09:00:00",
                            "Köln, Rheinuferstraße 7", "12,5", "Montage", "Geschäftlich"));
    // Deleted trips are no suggestions.
    trips.append(test::trip("25.11.2026 08:00:00", "Rheinbach", "25.11.2026 09:00:00", "Bonn", "40",
                            "Irrtum", "Geschäftlich", "Ja"));
    // Entered late: it stands below, but departed before the others.
    trips.append(test::trip("10.11.2026 08:00:00", "Köln, Büro", "10.11.2026 09:00:00",
                            "Bonn, Kunde Meier", "31", "wartung", "Geschäftlich"));
}

TEST(TripSuggestions, PlacesAndPurposesMatchAWordStartMostRecentFirstEachOnce)
{
    RowTable templates;
    templates.append(
        Row{"Kunde Rhein", {"Rheinberg", "Köln, Büro", "80", "Wartung", "Geschäftlich"}});
    RowTable trips;
    fillTrips(trips);
    const TripSuggestions suggestions = TripSuggestions::of(trips, templates);

    EXPECT_EQ(suggestions.matchingPlaces("rhein"),
              (QStringList{"Köln, Rheinuferstraße 7", "Rheinberg"}));
    EXPECT_EQ(suggestions.matchingPlaces("köln"),
              (QStringList{"Köln, Rheinuferstraße 7", "Köln, Büro"}));
    EXPECT_EQ(suggestions.matchingPlaces("ein"), QStringList()) << "inside a word is no match";
    EXPECT_EQ(suggestions.matchingPlaces("k", 1), QStringList{"Köln, Rheinuferstraße 7"});
    EXPECT_EQ(suggestions.matchingPurposes("WART"),
              (QStringList{"Wartung Heizung", "wartung", "Wartung"}));

    // Where the car is: the arrival of the live trip just before the new trip's place.
    EXPECT_EQ(suggestions.whereTheCarIs(QDateTime(QDate(2026, 11, 30), QTime(7, 0), Qt::UTC)),
              "Bonn, Kunde Meier")
        << "after the last trip in the list";
    EXPECT_EQ(suggestions.whereTheCarIs(QDateTime(QDate(2026, 11, 22), QTime(7, 0), Qt::UTC)),
              "Bonn, Kunde Meier");
    EXPECT_EQ(suggestions.whereTheCarIs(QDateTime(QDate(2026, 11, 1), QTime(7, 0), Qt::UTC)),
              QString());
    EXPECT_EQ(
        suggestions.placesBefore(QDateTime(QDate(2026, 11, 22), QTime(7, 0), Qt::UTC)),
        (QStringList{"Bonn, Kunde Meier", "Köln, Rheinuferstraße 7", "Köln, Büro", "Rheinberg"}));
}

TEST(TripSuggestions, DistanceOfTheMostRecentTripEitherWayElseOfATemplate)
{
    RowTable templates;
    templates.append(Row{"Kunde Bonn", {"Bonn, Kunde Meier", "Köln, Büro", "29", "x", "Privat"}});
    templates.append(Row{"Rheinberg", {"Rheinberg", "Köln, Büro", "80", "x", "Privat"}});
    RowTable trips;
    fillTrips(trips);
    const TripSuggestions suggestions = TripSuggestions::of(trips, templates);

    const auto back = suggestions.distanceBetween("Bonn, Kunde Meier", "Köln, Büro");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kilometres, 30);
    EXPECT_EQ(back->source, "wie am 20.11.2026");
    const auto fromTemplate = suggestions.distanceBetween("Köln, Büro", "Rheinberg");
    ASSERT_TRUE(fromTemplate);
    EXPECT_EQ(fromTemplate->kilometres, 80);
    EXPECT_EQ(fromTemplate->source, "wie Vorlage \"Rheinberg\"");
    EXPECT_FALSE(suggestions.distanceBetween("Rheinbach", "Bonn")) << "a deleted trip";
    EXPECT_FALSE(suggestions.distanceBetween("köln, büro", "Rheinberg")) << "exact texts";
}

} // namespace
} // namespace fb
