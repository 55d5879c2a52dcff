#include "trip_placement.h"

#include "core/error.h"
#include "text_forms.h"
#include "trip_columns.h"

namespace fb {
namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

qint64 keyOf(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * kSecondsPerDay + time.msecsSinceStartOfDay() / 1000;
}

// Two digits at position, or -1.
int twoDigits(const QChar *text, qsizetype position)
{
    const char16_t tens = text[position].unicode();
    const char16_t ones = text[position + 1].unicode();
    if (tens < u'0' || tens > u'9' || ones < u'0' || ones > u'9')
        return -1;
    return (tens - u'0') * 10 + (ones - u'0');
}

// The form the program writes, "dd.MM.yyyy HH:mm:ss" or "dd.MM.yyyy", read without building
// a date-time: placing a trip looks at every departure of a long list.
std::optional<qint64> writtenFormKey(const QString &caption)
{
    const qsizetype size = caption.size();
    if (size != 10 && size != 19)
        return std::nullopt;
    const QChar *text = caption.constData();
    if (text[2] != QLatin1Char('.') || text[5] != QLatin1Char('.'))
        return std::nullopt;
    const int day = twoDigits(text, 0);
    const int month = twoDigits(text, 3);
    const int century = twoDigits(text, 6);
    const int yearInCentury = twoDigits(text, 8);
    if (day < 0 || month < 0 || century < 0 || yearInCentury < 0 ||
        !QDate::isValid(century * 100 + yearInCentury, month, day))
        return std::nullopt;
    const QDate date(century * 100 + yearInCentury, month, day);
    if (size == 10)
        return keyOf(date, QTime(0, 0));
    if (text[10] != QLatin1Char(' ') || text[13] != QLatin1Char(':') ||
        text[16] != QLatin1Char(':'))
        return std::nullopt;
    const int hour = twoDigits(text, 11);
    const int minute = twoDigits(text, 14);
    const int second = twoDigits(text, 17);
    if (hour < 0 || minute < 0 || second < 0 || !QTime::isValid(hour, minute, second))
        return std::nullopt;
    return keyOf(date, QTime(hour, minute, second));
}

// The first live trip from row on that departs after key; the end when none does. The
// departures are kept side by side and most trips depart earlier than a new one: only a
// trip that departs later is looked at itself.
qsizetype firstLiveDepartingAfter(const RowTable &trips, qsizetype row, qint64 key)
{
    for (; row < trips.count(); ++row) {
        if (trips.departureKeyAt(row) > key && !isDeleted(trips.at(row)))
            return row;
    }
    return trips.count();
}

// The departure of the nearest live trip from row on in the direction step, where it has one.
std::optional<qint64> nearestLiveDeparture(const RowTable &trips, qsizetype row, int step)
{
    for (; row >= 0 && row < trips.count(); row += step) {
        if (!isDeleted(trips.at(row)))
            return trips.departureKeyAt(row);
    }
    return std::nullopt;
}

} // namespace

std::optional<qint64> departureKey(const QString &caption)
{
    if (const std::optional<qint64> key = writtenFormKey(caption))
        return key;
    if (const std::optional<QDateTime> moment = tryParseDateTimeText(caption))
        return keyOf(moment->date(), moment->time());
    return std::nullopt;
}

qint64 departureKey(const QDateTime &moment)
{
    return keyOf(moment.date(), moment.time());
}

qsizetype placeOfNewTrip(const RowTable &trips, const Row &trip)
{
    const std::optional<qint64> key = departureKey(trip.caption);
    if (!key)
        return trips.count();
    return firstLiveDepartingAfter(trips, 0, *key);
}

qsizetype placeOfChangedTrip(const RowTable &trips, qsizetype oldRow, const Row &trip)
{
    const std::optional<qint64> key = departureKey(trip.caption);
    if (!key)
        return oldRow + 1;
    const std::optional<qint64> above = nearestLiveDeparture(trips, oldRow - 1, -1);
    const std::optional<qint64> below = nearestLiveDeparture(trips, oldRow + 1, +1);
    // A neighbour whose departure is no moment does not hold the trip back.
    if ((!above || *above <= *key) && (!below || *key <= *below))
        return oldRow + 1;
    return placeOfNewTrip(trips, trip);
}

} // namespace fb
