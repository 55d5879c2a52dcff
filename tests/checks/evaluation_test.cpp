#include "checks/evaluation.h"
#include "core/error.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

using test::trip;

Row tripOf(const QString &distance, const QString &kind, const QString &deleted = {})
{
    return trip(QStringLiteral("01.12.2026 08:00:00"), QStringLiteral("A"),
                QStringLiteral("01.12.2026 09:00:00"), QStringLiteral("B"), distance,
                QStringLiteral("Termin"), kind, deleted);
}

TEST(Evaluation, EmptyTableShowsZeroCountsAndZeroKilometres)
{
    const RowTable trips;
    EXPECT_EQ(evaluationLines(evaluateTrips(trips)),
              QStringList({QStringLiteral("Anzahl geschäftlicher Fahrten: 0"),
                           QStringLiteral("Anzahl privater Fahrten: 0"),
                           QStringLiteral("Anzahl Fahrten gesamt: 0"), QString(),
                           QStringLiteral("Geschäftlich gefahrene Kilometer: 0,00"),
                           QStringLiteral("Privat gefahrene Kilometer: 0,00"),
                           QStringLiteral("Gefahrene Kilometer gesamt: 0,00")}));
}

TEST(Evaluation, ClassifiesByExactKindAndSkipsDeletedTrips)
{
    RowTable trips;
    trips.append(tripOf(QStringLiteral("10"), QStringLiteral("Geschäftlich")));
    trips.append(tripOf(QStringLiteral("20"), QStringLiteral("geschäftlich")));
    trips.append(tripOf(QStringLiteral("40"), QString()));
    trips.append(tripOf(QStringLiteral("80"), QStringLiteral("Privat")));
    // Any text marks a trip deleted; its distance need not even parse.
    trips.append(
        tripOf(QStringLiteral("1000"), QStringLiteral("Geschäftlich"), QStringLiteral("Ja")));
    trips.append(tripOf(QStringLiteral("kaputt"), QStringLiteral("Privat"), QStringLiteral("x")));
    const Evaluation evaluation = evaluateTrips(trips);
    EXPECT_EQ(evaluation.businessCount, 1);
    EXPECT_EQ(evaluation.privateCount, 3);
    EXPECT_EQ(evaluation.businessKm, 10);
    EXPECT_EQ(evaluation.privateKm, 140);
}

TEST(Evaluation, RowsTooShortForTheDeletedColumnCount)
{
    RowTable trips;
    trips.append(Row{QStringLiteral("01.12.2026"),
                     {QStringLiteral("A"), QStringLiteral("01.12.2026"), QStringLiteral("B"),
                      QStringLiteral("7,5"), QString(), QStringLiteral("Geschäftlich")}});
    trips.append(Row{QStringLiteral("01.12.2026"),
                     {QStringLiteral("A"), QStringLiteral("01.12.2026"), QStringLiteral("B"),
                      QStringLiteral("2,5")}});
    const Evaluation evaluation = evaluateTrips(trips);
    EXPECT_EQ(evaluation.businessCount, 1);
    EXPECT_EQ(evaluation.privateCount, 1);
    EXPECT_EQ(evaluation.businessKm + evaluation.privateKm, 10);
}

TEST(Evaluation, KilometresShowTwoDecimalsWithoutGrouping)
{
    RowTable trips;
    trips.append(tripOf(QStringLiteral("1000,25"), QStringLiteral("Geschäftlich")));
    trips.append(tripOf(QStringLiteral("234,25"), QStringLiteral("Privat")));
    const QStringList lines = evaluationLines(evaluateTrips(trips));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines.at(4), QStringLiteral("Geschäftlich gefahrene Kilometer: 1000,25"));
    EXPECT_EQ(lines.at(5), QStringLiteral("Privat gefahrene Kilometer: 234,25"));
    EXPECT_EQ(lines.at(6), QStringLiteral("Gefahrene Kilometer gesamt: 1234,50"));
    // Evaluating again gives the same seven lines: nothing is carried over.
    EXPECT_EQ(evaluationLines(evaluateTrips(trips)), lines);
}

TEST(Evaluation, PrintedLinesHaveOneDecimalAndNoEmptyLine)
{
    RowTable trips;
    trips.append(tripOf(QStringLiteral("12,25"), QStringLiteral("Privat")));
    EXPECT_EQ(printedEvaluationLines(evaluateTrips(trips)),
              QStringList({QStringLiteral("Anzahl geschäftlicher Fahrten: 0"),
                           QStringLiteral("Anzahl privater Fahrten: 1"),
                           QStringLiteral("Anzahl Fahrten gesamt: 1"),
                           QStringLiteral("Geschäftlich gefahrene Kilometer: 0,0"),
                           QStringLiteral("Privat gefahrene Kilometer: 12,3"),
                           QStringLiteral("Gefahrene Kilometer gesamt: 12,3")}));
}

TEST(Evaluation, DistanceThatDoesNotParseIsAConversionError)
{
    RowTable trips;
    trips.append(tripOf(QStringLiteral("12.5"), QStringLiteral("Privat")));
    try {
        evaluateTrips(trips);
        FAIL() << "no error";
    } catch (const ConversionError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'12.5' is not a valid floating point value"));
    }
}

TEST(Evaluation, KilometreFiguresKeepFifteenDigitsAndNeverShowMinusZero)
{
    EXPECT_EQ(formatKilometres(-0.0, 1), QStringLiteral("0,0"));
    EXPECT_EQ(formatKilometres(-0.04, 1), QStringLiteral("0,0"));
    EXPECT_EQ(formatKilometres(-2.5, 2), QStringLiteral("-2,50"));
    EXPECT_EQ(formatKilometres(0.1 + 0.2, 2), QStringLiteral("0,30"));
    EXPECT_EQ(formatKilometres(12345, 1), QStringLiteral("12345,0"));
    EXPECT_EQ(formatKilometres(123456789012.345, 2), QStringLiteral("123456789012,35"));
    EXPECT_EQ(formatKilometres(0.05, 1), QStringLiteral("0,1"));
    EXPECT_EQ(formatKilometres(0.004, 2), QStringLiteral("0,00"));
    EXPECT_EQ(formatKilometres(99.96, 1), QStringLiteral("100,0"));
    EXPECT_EQ(formatKilometres(7, 0), QStringLiteral("7"));
}

} // namespace
} // namespace fb
