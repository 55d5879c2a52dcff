#include "summary_tally.h"

#include "model/text_forms.h"

#include <array>

namespace fb {
namespace {

// The months by name, German whatever the system's language.
const std::array<const char *, 12> kMonthNames = {"Januar",    "Februar", "März",     "April",
                                                  "Mai",       "Juni",    "Juli",     "August",
                                                  "September", "Oktober", "November", "Dezember"};

QString dateText(const std::optional<QDate> &date)
{
    return date ? date->toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("–");
}

} // namespace

void SummaryTally::add(const Row &trip, double distance, double readingBefore, double readingAfter)
{
    m_total.add(trip, distance);
    if (!m_startReading)
        m_startReading = readingBefore;
    m_endReading = readingAfter;
    const std::optional<QDateTime> departs = tryParseDateTimeText(trip.caption);
    if (!departs)
        return;
    const QDate day = departs->date();
    m_months[day.year() * 12 + day.month() - 1].add(trip, distance);
    if (!m_first || day < *m_first)
        m_first = day;
    if (!m_last || day > *m_last)
        m_last = day;
}

QStringList SummaryTally::headLines(const MasterData &master, double startReading) const
{
    const double start = m_startReading.value_or(startReading);
    const double end = m_startReading ? m_endReading : start;
    return {QStringLiteral("Fahrzeug: ") + master.registrationNumber,
            QStringLiteral("Halter: ") + keeperName(master),
            QStringLiteral("Zeitraum: ") + dateText(m_first) + QStringLiteral(" bis ") +
                dateText(m_last),
            QStringLiteral("Kilometerstand Beginn: ") + formatKilometres(start, 1),
            QStringLiteral("Kilometerstand Ende: ") + formatKilometres(end, 1)};
}

QStringList SummaryTally::tableTitles()
{
    return {QStringLiteral("Monat"),           QStringLiteral("Fahrten"),
            QStringLiteral("Geschäftlich km"), QStringLiteral("Privat km"),
            QStringLiteral("Gesamt km"),       QStringLiteral("Privatanteil")};
}

QStringList SummaryTally::figuresOf(const Evaluation &evaluation)
{
    const double total = evaluation.businessKm + evaluation.privateKm;
    const double share = total != 0 ? evaluation.privateKm / total * 100 : 0;
    return {QString::number(qint64(evaluation.businessCount) + evaluation.privateCount),
            formatKilometres(evaluation.businessKm, 1), formatKilometres(evaluation.privateKm, 1),
            formatKilometres(total, 1), formatKilometres(share, 1) + QStringLiteral(" %")};
}

QList<SummaryTally::Line> SummaryTally::tableLines() const
{
    QList<Line> lines;
    for (const auto &[key, evaluation] : m_months) {
        const QString month = QString::fromUtf8(kMonthNames[std::size_t(key % 12)]);
        lines.append({month + QLatin1Char(' ') + QString::number(key / 12), figuresOf(evaluation)});
    }
    lines.append({QStringLiteral("Summe"), figuresOf(m_total)});
    return lines;
}

} // namespace fb
