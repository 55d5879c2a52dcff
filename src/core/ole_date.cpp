#include "ole_date.h"

#include <cmath>

namespace fb {
namespace {

constexpr qint64 kMsecsPerDay = qint64{24} * 60 * 60 * 1000;

QDate oleEpoch()
{
    return QDate(1899, 12, 30);
}

} // namespace

double toOleDate(const QDate &date, const QTime &time)
{
    const auto days = static_cast<double>(oleEpoch().daysTo(date));
    const double fraction =
        static_cast<double>(time.isValid() ? time.msecsSinceStartOfDay() : 0) / kMsecsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

double toOleDate(const QDateTime &dateTime)
{
    return toOleDate(dateTime.date(), dateTime.time());
}

QDateTime fromOleDate(double value)
{
    if (!std::isfinite(value) || value < kOleDateMin - 1 || value > kOleDateMax + 1)
        return {};
    double wholeDays = std::trunc(value);
    qint64 msecs = std::llround(std::fabs(value - wholeDays) * kMsecsPerDay);
    if (msecs >= kMsecsPerDay) {
        msecs -= kMsecsPerDay;
        wholeDays += 1;
    }
    const QDate date = oleEpoch().addDays(static_cast<qint64>(wholeDays));
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)), Qt::UTC);
}

} // namespace fb
