#include "core/error.h"
#include "core/ole_date.h"
#include "model/text_forms.h"

#include <QRandomGenerator>

#include <array>
#include <charconv>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace fb;

TEST(NumberText, ShortestFixedFormWithDecimalComma)
{
    EXPECT_EQ(formatNumberText(12), QStringLiteral("12"));
    EXPECT_EQ(formatNumberText(12.5), QStringLiteral("12,5"));
    EXPECT_EQ(formatNumberText(140.25), QStringLiteral("140,25"));
    EXPECT_EQ(formatNumberText(-3.75), QStringLiteral("-3,75"));
    EXPECT_EQ(formatNumberText(0), QStringLiteral("0"));
    EXPECT_EQ(formatNumberText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(formatNumberText(1234567.5), QStringLiteral("1234567,5")); // no grouping
    EXPECT_EQ(formatNumberText(0.0001), QStringLiteral("0,0001"));
}

TEST(NumberText, FifteenSignificantDigitsHideBinaryRounding)
{
    EXPECT_EQ(formatNumberText(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(formatNumberText(1.0 / 3.0), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(formatNumberText(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(formatNumberText(99999.999999999999), QStringLiteral("100000"));
}

// Correct rounding to 15 significant digits (exact ties to even), exponent form outside the
// same range as the program's: the reference the fast path must agree with.
QString reference(double value)
{
    std::array<char, 64> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::general, 15)
                         .ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data())
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

TEST(NumberText, AgreesWithCorrectRoundingToFifteenDigits)
{
    QRandomGenerator random(4711);
    for (int i = 0; i < 200000; ++i) {
        const double magnitude = std::pow(10.0, -4.0 + random.bounded(19.0));
        const double value = (random.bounded(2) ? 1 : -1) * magnitude * random.generateDouble();
        const QString expected = reference(value);
        if (!expected.contains(QLatin1Char('e'))) {
            ASSERT_EQ(formatNumberText(value), expected) << value;
        }
    }
    // Running sums of decimal distances carry binary noise in their last digits.
    double running = 12345;
    for (int i = 0; i < 100000; ++i) {
        running += 0.1 * (i % 97);
        ASSERT_EQ(formatNumberText(running), reference(running)) << running;
    }
    // Exact halves in the sixteenth digit.
    EXPECT_EQ(formatNumberText(355400735411810.5), QStringLiteral("355400735411810"));
    EXPECT_EQ(formatNumberText(355400735411811.5), QStringLiteral("355400735411812"));
}

TEST(NumberText, ExponentFormFarOutsideReadings)
{
    EXPECT_EQ(formatNumberText(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(formatNumberText(1234567890123456.0), QStringLiteral("1,23456789012346E15"));
    EXPECT_EQ(formatNumberText(-1e20), QStringLiteral("-1E20"));
    EXPECT_EQ(formatNumberText(0.000015), QStringLiteral("1,5E-5"));
    EXPECT_EQ(formatNumberText(std::numeric_limits<double>::infinity()), QStringLiteral("INF"));
    // Every exponent form reads back.
    for (const double value : {1e15, 1.5e-5, -2.25e100, 1e-300})
        EXPECT_DOUBLE_EQ(parseNumberText(formatNumberText(value)), value);
}

TEST(NumberText, ParsesWhatTheProgramAndUsersWrite)
{
    EXPECT_EQ(parseNumberText(QStringLiteral("12")), 12);
    EXPECT_EQ(parseNumberText(QStringLiteral("12,5")), 12.5);
    EXPECT_EQ(parseNumberText(QStringLiteral(" -3,75 ")), -3.75);
    EXPECT_EQ(parseNumberText(QStringLiteral("+4")), 4);
    EXPECT_EQ(parseNumberText(QStringLiteral(",5")), 0.5);
    EXPECT_EQ(parseNumberText(QStringLiteral("5,")), 5);
    EXPECT_EQ(parseNumberText(QStringLiteral("1,5E3")), 1500);
    EXPECT_EQ(parseNumberText(QStringLiteral("2e-2")), 0.02);
    EXPECT_EQ(parseNumberText(QStringLiteral("1E-400")), 0);
}

TEST(NumberText, RefusesOtherTextsWithTheConversionMessage)
{
    for (const char *text : {"", " ", "abc", "1.5", "1,2,3", "1 000", "e5", "1e", "--1", "1e+",
                             "12km", "1E400", "٣"}) {
        try {
            parseNumberText(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const ConversionError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("'%1' is not a valid floating point value")
                                           .arg(QString::fromUtf8(text)));
        }
    }
}

TEST(DateTimeText, GermanFormWithoutTimeAtMidnight)
{
    const QDate day(2026, 12, 7);
    EXPECT_EQ(formatDateTimeText(QDateTime(day, QTime(14, 30, 5), Qt::UTC)),
              QStringLiteral("07.12.2026 14:30:05"));
    EXPECT_EQ(formatDateTimeText(QDateTime(day, QTime(0, 0), Qt::UTC)),
              QStringLiteral("07.12.2026"));
    EXPECT_EQ(formatDateTimeText(QDateTime(day, QTime(0, 0, 1), Qt::UTC)),
              QStringLiteral("07.12.2026 00:00:01"));
}

TEST(DateTimeText, ParsesBackWhatItWrites)
{
    const QDateTime moment(QDate(2026, 12, 7), QTime(14, 30, 5), Qt::UTC);
    EXPECT_EQ(parseDateTimeText(formatDateTimeText(moment)), moment);
    EXPECT_EQ(parseDateTimeText(QStringLiteral("07.12.2026")),
              QDateTime(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(parseDateTimeText(QStringLiteral("7.1.2026 8:05")),
              QDateTime(QDate(2026, 1, 7), QTime(8, 5), Qt::UTC));
    EXPECT_EQ(parseDateTimeText(QStringLiteral("29.02.2024 23:59:59")).date(), QDate(2024, 2, 29));
}

TEST(DateTimeText, RefusesOtherTextsWithTheConversionMessage)
{
    for (const char *text : {"", "heute", "31.02.2026", "07.12.2026 24:00:00", "07.12.2026 12:60",
                             "07-12-2026", "07.12.2026 12", "07.12.2026x", "07.12.026"}) {
        try {
            parseDateTimeText(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const ConversionError &error) {
            EXPECT_EQ(
                error.message(),
                QStringLiteral("'%1' is not a valid date and time").arg(QString::fromUtf8(text)));
        }
    }
}

TEST(OleDate, DaysSince1899WithTimeAsFraction)
{
    EXPECT_EQ(toOleDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(toOleDate(QDate(1900, 1, 1), QTime(12, 0)), 2.5);
    EXPECT_EQ(toOleDate(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    EXPECT_EQ(fromOleDate(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC));

    const QDateTime registration(QDate(2008, 4, 3), QTime(18, 10), Qt::UTC);
    EXPECT_NEAR(toOleDate(registration), 39541.756944, 1e-6);
    EXPECT_EQ(fromOleDate(toOleDate(registration)), registration);
}

TEST(OleDate, ValuesThatAreNoDatesAreInvalid)
{
    EXPECT_FALSE(fromOleDate(std::nan("")).isValid());
    EXPECT_FALSE(fromOleDate(1e300).isValid());
    EXPECT_FALSE(fromOleDate(-1e7).isValid());
    EXPECT_TRUE(fromOleDate(kOleDateMax).isValid());
}

TEST(DisplayMessage, FullStopOnlyAfterLettersAndDigits)
{
    EXPECT_EQ(displayMessage(QStringLiteral("Read beyond end of file")),
              QStringLiteral("Read beyond end of file."));
    EXPECT_EQ(displayMessage(QStringLiteral("I/O error 5")), QStringLiteral("I/O error 5."));
    EXPECT_EQ(displayMessage(QStringLiteral("List index (3) out of bounds !")),
              QStringLiteral("List index (3) out of bounds !"));
    EXPECT_EQ(displayMessage(QStringLiteral("Fertig.")), QStringLiteral("Fertig."));
}
