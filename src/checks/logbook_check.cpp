#include "logbook_check.h"

#include "core/error.h"
#include "core/ole_date.h"
#include "entry_log_report.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace fb {
namespace {

// A difference up to this much is the rounding of the distances, not a trip left out.
constexpr double kToleratedKm = 1.0;

// The chain's reading after each live trip, findable by the trip's arrival: sorted by arrival,
// each entry carries the reading after the latest trip in list order among those arriving no
// later, since the readings follow the list.
class ChainByArrival {
public:
    explicit ChainByArrival(const Logbook &logbook) : m_start(logbook.master.startKm)
    {
        std::optional<double> running = m_start;
        std::vector<std::pair<qint64, qsizetype>> arrivals; // arrival, index in m_after
        for (const Row &trip : logbook.trips.rows()) {
            if (isDeleted(trip))
                continue;
            const std::optional<double> distance = numberOf(trip.subItem(TripSubItem::Distance));
            // Behind a distance that is no number the readings are unknown.
            running = running && distance ? std::optional(*running + *distance) : std::nullopt;
            m_after.push_back(running);
            if (const auto arrives = tryParseDateTimeText(trip.subItem(TripSubItem::ArrivalTime)))
                arrivals.emplace_back(arrives->toMSecsSinceEpoch(), qsizetype(m_after.size()) - 1);
        }
        std::sort(arrivals.begin(), arrivals.end());
        qsizetype latest = -1;
        for (const auto &[arrives, index] : arrivals) {
            latest = std::max(latest, index);
            m_steps.push_back({arrives, latest});
        }
    }

    // The reading at the moment; nothing when a distance before it is no number.
    std::optional<double> at(qint64 moment) const
    {
        const auto past =
            std::upper_bound(m_steps.begin(), m_steps.end(), moment,
                             [](qint64 value, const Step &step) { return value < step.arrives; });
        if (past == m_steps.begin())
            return m_start;
        return m_after[std::size_t(std::prev(past)->latest)];
    }

private:
    struct Step {
        qint64 arrives;
        qsizetype latest;
    };

    static std::optional<double> numberOf(const QString &text)
    {
        try {
            const double value = parseNumberText(text);
            return std::isfinite(value) ? std::optional(value) : std::nullopt;
        } catch (const ConversionError &) {
            return std::nullopt;
        }
    }

    double m_start;
    std::vector<std::optional<double>> m_after; // the reading after each live trip, list order
    std::vector<Step> m_steps;
};

} // namespace

std::vector<Finding> checkOdometerReadings(const Logbook &logbook)
{
    std::vector<Finding> findings;
    std::optional<ChainByArrival> chain;
    for (const EntryEvent &event : logbook.entryLog.events()) {
        if (event.kind != EntryEventKind::OdometerReading)
            continue;
        const QDateTime at = fromOleDate(event.readingAt);
        if (!at.isValid() || !std::isfinite(event.readingKm))
            continue;
        if (!chain)
            chain.emplace(logbook);
        const std::optional<double> expected = chain->at(at.toMSecsSinceEpoch());
        if (!expected)
            continue;
        const double difference = std::round((event.readingKm - *expected) * 10) / 10;
        if (std::abs(difference) <= kToleratedKm)
            continue;
        const QString verdict =
            difference > 0 ? QStringLiteral("%1 km fehlen.") : QStringLiteral("%1 km zu viel.");
        findings.push_back(
            {-1,
             QStringLiteral("Kilometerstand %1 abgelesen, das Fahrtenbuch ergibt %2: ")
                     .arg(formatNumberText(event.readingKm), formatNumberText(*expected)) +
                 verdict.arg(formatNumberText(std::abs(difference))),
             at.toString(QStringLiteral("dd.MM.yyyy HH:mm"))});
    }
    return findings;
}

std::vector<Finding> checkLogbook(const Logbook &logbook)
{
    std::vector<Finding> findings =
        checkPlausibility(logbook.trips, entryMoments(logbook.entryLog));
    std::vector<Finding> readings = checkOdometerReadings(logbook);
    findings.insert(findings.end(), std::make_move_iterator(readings.begin()),
                    std::make_move_iterator(readings.end()));
    return findings;
}

} // namespace fb
