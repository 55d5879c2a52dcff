#include "test_support.h"

#include "core/error.h"
#include "model/odometer.h"
#include "model/trip_columns.h"
#include "row_edit.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace fb;
using namespace fb::test;

namespace {

Row tripWithDistance(const QString &distance, const QString &deleted = {})
{
    return trip(QStringLiteral("01.01.2026"), QStringLiteral("A"),
                QStringLiteral("01.01.2026 01:00:00"), QStringLiteral("B"), distance,
                QStringLiteral("Zweck"), QStringLiteral("Privat"), deleted);
}

QStringList readings(const Logbook &logbook)
{
    QStringList result;
    for (const Row &row : logbook.trips.rows())
        result << row.subItem(TripSubItem::KmStart) + QLatin1Char('-') +
                      row.subItem(TripSubItem::KmEnd);
    return result;
}

} // namespace

TEST(Odometer, EmptyTableGivesTheStartReading)
{
    Logbook logbook;
    logbook.master.startKm = 4711;
    EXPECT_EQ(getlastkm(logbook), 4711);
    UpdateKMSTands(logbook);
    EXPECT_TRUE(logbook.trips.isEmpty());
}

TEST(Odometer, DeletedTripsCarryTheReadingThrough)
{
    Logbook logbook;
    logbook.master.startKm = 1000;
    logbook.trips.append(tripWithDistance(QStringLiteral("10")));
    logbook.trips.append(tripWithDistance(QStringLiteral("20,5"), QStringLiteral("Ja")));
    logbook.trips.append(tripWithDistance(QStringLiteral("5")));
    UpdateKMSTands(logbook);
    EXPECT_EQ(readings(logbook),
              (QStringList{QStringLiteral("1000-1010"), QStringLiteral("1010-1010"),
                           QStringLiteral("1010-1015")}));
    EXPECT_EQ(getlastkm(logbook), 1015);
}

TEST(Odometer, DeletedFirstTripShowsTheStartReading)
{
    Logbook logbook;
    logbook.master.startKm = 50;
    logbook.trips.append(tripWithDistance(QStringLiteral("kaputt"), QStringLiteral("x")));
    UpdateKMSTands(logbook);
    EXPECT_EQ(readings(logbook), QStringList{QStringLiteral("50-50")});
}

TEST(Odometer, ShortRowsArePaddedAndCountAsLive)
{
    Logbook logbook;
    logbook.trips.append(
        Row{QStringLiteral("01.01.2026"),
            {QStringLiteral("A"), QString(), QStringLiteral("B"), QStringLiteral("7")}});
    EXPECT_EQ(getlastkm(logbook), 7);
    EXPECT_EQ(logbook.trips.at(0).subItems.size(), 4) << "a query leaves the rows alone";
    UpdateKMSTands(logbook);
    EXPECT_EQ(logbook.trips.at(0).subItems.size(), TripSubItem::Count);
    EXPECT_EQ(readings(logbook), QStringList{QStringLiteral("0-7")});
}

TEST(Odometer, NegativeAndFractionalDistances)
{
    Logbook logbook;
    logbook.trips.append(tripWithDistance(QStringLiteral("0,1")));
    logbook.trips.append(tripWithDistance(QStringLiteral("0,2")));
    logbook.trips.append(tripWithDistance(QStringLiteral("-1")));
    UpdateKMSTands(logbook);
    EXPECT_EQ(readings(logbook), (QStringList{QStringLiteral("0-0,1"), QStringLiteral("0,1-0,3"),
                                              QStringLiteral("0,3--0,7")}));
}

TEST(Odometer, NewStartReadingShiftsEveryReading)
{
    Logbook logbook;
    logbook.trips.append(tripWithDistance(QStringLiteral("10")));
    logbook.trips.append(tripWithDistance(QStringLiteral("5")));
    UpdateKMSTands(logbook);
    logbook.master.startKm = 50000;
    UpdateKMSTands(logbook);
    EXPECT_EQ(readings(logbook),
              (QStringList{QStringLiteral("50000-50010"), QStringLiteral("50010-50015")}));
}

TEST(Odometer, UnparsableDistanceStopsThePassWithPartialReadings)
{
    Logbook logbook;
    logbook.trips.append(tripWithDistance(QStringLiteral("10")));
    logbook.trips.append(tripWithDistance(QStringLiteral("20")));
    logbook.trips.append(tripWithDistance(QStringLiteral("30")));
    UpdateKMSTands(logbook);
    logbook.master.startKm = 100;
    test::replaceSubItem(logbook.trips, 1, TripSubItem::Distance, QStringLiteral("zwanzig"));

    QSignalSpy changed(&logbook.trips, &RowTable::rowsChanged);
    try {
        UpdateKMSTands(logbook);
        ADD_FAILURE() << "no error";
    } catch (const ConversionError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'zwanzig' is not a valid floating point value"));
    }
    EXPECT_EQ(readings(logbook), (QStringList{QStringLiteral("100-110"), QStringLiteral("110-30"),
                                              QStringLiteral("30-60")}));
    // The view is told about the change even though the pass stopped.
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(logbook.trips.inUpdate());
    EXPECT_THROW(getlastkm(logbook), ConversionError);
}

// A file whose distances lie just under and beyond the exponent form loads and shows
// readings in that form (the first used to read outside the number formatter's table).
TEST(Odometer, ReadingsAroundTheExponentFormFromAFile)
{
    Logbook written;
    written.master.startKm = 0;
    written.trips.append(tripWithDistance(QStringLiteral("999999999999999,5")));
    written.trips.append(tripWithDistance(QStringLiteral("1E20")));
    written.trips.append(tripWithDistance(QStringLiteral("-1E20")));
    Logbook loaded;
    readBytes(toBytes(written), loaded);
    UpdateKMSTands(loaded);
    EXPECT_EQ(readings(loaded),
              (QStringList{QStringLiteral("0-1E15"), QStringLiteral("1E15-1,00001E20"),
                           QStringLiteral("1,00001E20-1E15")}));
}
