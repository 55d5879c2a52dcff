#include "plausibility.h"

#include "core/error.h"
#include "evaluation.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <array>
#include <cmath>

namespace fb {
namespace {

constexpr double kFastestAverage = 200;
// An arrival date left behind when the departure date was typed makes a trip last for days.
constexpr qint64 kLongestTripSeconds = 24 * 3600;

std::optional<double> number(const QString &text)
{
    try {
        const double value = parseNumberText(text);
        return std::isfinite(value) ? std::optional(value) : std::nullopt;
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

// "dd.MM.yyyy HH:mm", written digit by digit: a long list of findings formats many moments,
// and a format string is parsed anew at every call.
QString shown(const QDateTime &at)
{
    const QDate date = at.date();
    const QTime time = at.time();
    const auto two = [](int value) {
        return std::array{QChar(u'0' + value / 10), QChar(u'0' + value % 10)};
    };
    QString text;
    text.reserve(16);
    const auto append = [&text](const std::array<QChar, 2> &digits) {
        text.append(digits[0]).append(digits[1]);
    };
    append(two(date.day()));
    text.append(QLatin1Char('.'));
    append(two(date.month()));
    text.append(QLatin1Char('.'));
    append(two(date.year() / 100));
    append(two(date.year() % 100));
    text.append(QLatin1Char(' '));
    append(two(time.hour()));
    text.append(QLatin1Char(':'));
    append(two(time.minute()));
    return text;
}

// A figure as the printed evaluation shows kilometres: one decimal where it has one.
QString figure(double value)
{
    QString text = formatKilometres(value, 1);
    if (text.endsWith(QLatin1String(",0")))
        text.chop(2);
    return text;
}

// What is wrong with one trip on its own, in the order the check promises.
void checkTrip(const Row &trip, const std::optional<QDateTime> &departs,
               const std::optional<QDateTime> &arrives, const std::function<void(QString)> &raise)
{
    if (!departs)
        raise(QStringLiteral("Abfahrtszeit \"%1\" ist kein Zeitpunkt")
                  .arg(fileTextForMessage(trip.caption)));
    const QString arrivalText = trip.subItem(TripSubItem::ArrivalTime);
    if (!arrives)
        raise(QStringLiteral("Ankunftszeit \"%1\" ist kein Zeitpunkt")
                  .arg(fileTextForMessage(arrivalText)));
    if (departs && arrives && *arrives <= *departs)
        raise(QStringLiteral("Ankunft nicht nach der Abfahrt (Ankunft %1)").arg(shown(*arrives)));
    else if (departs && arrives && departs->secsTo(*arrives) > kLongestTripSeconds)
        raise(QStringLiteral("Fahrt dauert länger als 24 Stunden"));

    const QString distanceText = trip.subItem(TripSubItem::Distance);
    const std::optional<double> distance = number(distanceText);
    if (!distance)
        raise(QStringLiteral("Entfernung \"%1\" ist keine Zahl")
                  .arg(fileTextForMessage(distanceText)));
    else if (*distance < 0)
        raise(QStringLiteral("Entfernung negativ (%1 km)").arg(figure(*distance)));
    else if (*distance > kLongestTripKm)
        raise(QStringLiteral("Entfernung über 100000 km (%1 km)").arg(figure(*distance)));

    if (distance && *distance >= 0 && departs && arrives && *arrives > *departs) {
        const double hours = double(departs->secsTo(*arrives)) / 3600;
        const double average = *distance / hours;
        if (average > kFastestAverage)
            raise(QStringLiteral("Durchschnitt %1 km/h").arg(figure(average)));
    }

    if (isBusinessTrip(trip) && trip.subItem(TripSubItem::Purpose).trimmed().isEmpty())
        raise(QStringLiteral("Geschäftliche Fahrt ohne Fahrtzweck"));
}

} // namespace

std::vector<Finding> checkPlausibility(const RowTable &trips, const EntryMoment &enteredAt)
{
    std::vector<Finding> findings;
    std::optional<QDateTime> previousDeparts;
    std::optional<QDateTime> previousArrives;
    qsizetype previousRow = -1;
    for (qsizetype row = 0; row < trips.count(); ++row) {
        const Row &trip = trips.at(row);
        if (isDeleted(trip))
            continue;
        const auto raise = [&](QString text) {
            findings.push_back({row, std::move(text), {}});
        };
        const std::optional<QDateTime> departs = tryParseDateTimeText(trip.caption);
        const std::optional<QDateTime> arrives =
            tryParseDateTimeText(trip.subItem(TripSubItem::ArrivalTime));

        if (departs && previousDeparts && *departs < *previousDeparts)
            raise(QStringLiteral("Abfahrt vor der Abfahrt der vorigen Fahrt (%1)")
                      .arg(shown(*previousDeparts)));
        else if (departs && previousArrives && *departs < *previousArrives)
            raise(QStringLiteral("Abfahrt vor der Ankunft der vorigen Fahrt %1 (%2)")
                      .arg(previousRow + 1)
                      .arg(shown(*previousArrives)));
        checkTrip(trip, departs, arrives, raise);
        if (enteredAt && arrives) {
            if (const std::optional<QDateTime> entered = enteredAt(row)) {
                if (const std::optional<qint64> days = daysEnteredLate(*arrives, *entered))
                    raise(QStringLiteral("Nachgetragen: erfasst am %1, %2 Tage nach der Ankunft")
                              .arg(shown(*entered))
                              .arg(*days));
            }
        }
        previousDeparts = departs;
        previousArrives = arrives;
        previousRow = row;
    }
    return findings;
}

std::optional<qint64> daysEnteredLate(const QDateTime &arrives, const QDateTime &entered)
{
    constexpr qint64 kLatestEntrySeconds = 7 * 24 * 3600;
    if (arrives.secsTo(entered) <= kLatestEntrySeconds)
        return std::nullopt;
    return arrives.daysTo(entered);
}

QString findingDeparture(const RowTable &trips, const Finding &finding)
{
    if (finding.row < 0)
        return finding.readingAt;
    const QString caption = trips.at(finding.row).caption;
    const std::optional<QDateTime> departs = tryParseDateTimeText(caption);
    return departs ? shown(*departs) : fileTextForMessage(caption);
}

QString findingLine(const RowTable &trips, const Finding &finding)
{
    if (finding.row < 0)
        return QStringLiteral("Ablesung (%1): %2").arg(finding.readingAt, finding.text);
    return QStringLiteral("Fahrt %1 (%2): %3")
        .arg(finding.row + 1)
        .arg(findingDeparture(trips, finding), finding.text);
}

} // namespace fb
