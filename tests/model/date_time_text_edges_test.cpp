#include "core/error.h"
#include "core/ole_date.h"
#include "model/text_forms.h"
#include "storage/logbook_json.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace fb;

namespace {

QString textOfStoredDate(double value)
{
    return formatDateTimeText(fromOleDate(value));
}

constexpr double kSecond = 1.0 / 86400;

} // namespace

TEST(DateTimeTextEdges, DayBoundariesAndFractionsJustUnderAWholeDay)
{
    EXPECT_EQ(textOfStoredDate(0), QStringLiteral("30.12.1899"));
    EXPECT_EQ(textOfStoredDate(1 - kSecond), QStringLiteral("30.12.1899 23:59:59"));
    // Milliseconds are not shown: half a second before midnight is still the old day.
    EXPECT_EQ(textOfStoredDate(1 - kSecond / 2), QStringLiteral("30.12.1899 23:59:59"));
    // Closer than half a millisecond is the next midnight, not a time of 24:00.
    EXPECT_EQ(textOfStoredDate(1 - 1e-9), QStringLiteral("31.12.1899"));
    EXPECT_EQ(textOfStoredDate(std::nextafter(46000.0, 0.0)), QStringLiteral("09.12.2025"));
    EXPECT_EQ(textOfStoredDate(46000 + kSecond), QStringLiteral("09.12.2025 00:00:01"));
}

TEST(DateTimeTextEdges, NegativeValuesCountDaysBackAndKeepTheTimeOfDay)
{
    EXPECT_EQ(textOfStoredDate(-0.5), QStringLiteral("30.12.1899 12:00:00"));
    EXPECT_EQ(textOfStoredDate(-1.25), QStringLiteral("29.12.1899 06:00:00"));
    EXPECT_EQ(textOfStoredDate(-1 - (1 - kSecond)), QStringLiteral("29.12.1899 23:59:59"));
    EXPECT_EQ(textOfStoredDate(-1.9999999999), QStringLiteral("30.12.1899"));
    EXPECT_EQ(textOfStoredDate(kOleDateMin), QStringLiteral("01.01.0001"));
    EXPECT_EQ(textOfStoredDate(kOleDateMin - 0.75), QStringLiteral("01.01.0001 18:00:00"));
}

TEST(DateTimeTextEdges, LargestDateAndValuesThatAreNoDateGiveNoText)
{
    EXPECT_EQ(textOfStoredDate(kOleDateMax), QStringLiteral("31.12.9999 23:59:59"));
    for (const double value : {kOleDateMax + 1e-6, 2958466.0, kOleDateMin - 1, 1e300, -1e300,
                               std::numeric_limits<double>::infinity(), std::nan("")}) {
        EXPECT_FALSE(fromOleDate(value).isValid()) << value;
        EXPECT_EQ(textOfStoredDate(value), QString()) << value;
    }
    EXPECT_EQ(formatDateTimeText(QDateTime()), QString());

    // The JSON dump shows such a value with a null text (and a null value when not finite).
    Logbook logbook;
    logbook.master.firstRegistration = 1e300;
    logbook.master.registration = std::nan("");
    QBuffer json;
    json.open(QIODevice::WriteOnly);
    writeLogbookJson(logbook, json);
    const QJsonObject master = QJsonDocument::fromJson(json.data())
                                   .object()
                                   .value(QStringLiteral("masterData"))
                                   .toObject();
    const QJsonObject first = master.value(QStringLiteral("firstRegistration")).toObject();
    EXPECT_TRUE(first.value(QStringLiteral("text")).isNull());
    EXPECT_EQ(first.value(QStringLiteral("value")).toDouble(), 1e300);
    const QJsonObject second = master.value(QStringLiteral("registration")).toObject();
    EXPECT_TRUE(second.value(QStringLiteral("text")).isNull());
    EXPECT_TRUE(second.value(QStringLiteral("value")).isNull());
}

TEST(DateTimeTextEdges, TextsReadBackAcrossTheWholeCalendar)
{
    for (const QDate &date : {QDate(1, 1, 1), QDate(999, 12, 31), QDate(1899, 12, 29),
                              QDate(1899, 12, 30), QDate(1900, 2, 28), QDate(1900, 3, 1),
                              QDate(2000, 2, 29), QDate(2026, 12, 31), QDate(9999, 12, 31)}) {
        for (const QTime &time : {QTime(0, 0), QTime(0, 0, 1), QTime(12, 0), QTime(23, 59, 59)}) {
            const QDateTime moment(date, time, Qt::UTC);
            const QString text = formatDateTimeText(moment);
            ASSERT_EQ(parseDateTimeText(text), moment) << text.toStdString();
            // And through the stored value, as a file keeps it.
            ASSERT_EQ(textOfStoredDate(toOleDate(moment)), text);
        }
    }
    EXPECT_EQ(formatDateTimeText(QDateTime(QDate(5, 3, 1), QTime(0, 0), Qt::UTC)),
              QStringLiteral("01.03.0005"));
    EXPECT_EQ(parseDateTimeText(QStringLiteral("01.03.0005")).date(), QDate(5, 3, 1));
}

TEST(DateTimeTextEdges, RefusesYearZeroAndOutOfRangeFields)
{
    for (const char *text : {"01.01.0000", "00.01.2026", "01.00.2026", "01.13.2026", "32.01.2026",
                             "29.02.2100", "01.01.2026 -1:00", "01.01.2026 1:5:7x", "01.01.99999",
                             "01.01.2026 23:59:60", "999.1.2026"}) {
        EXPECT_THROW(parseDateTimeText(QString::fromLatin1(text)), ConversionError) << text;
    }
}
