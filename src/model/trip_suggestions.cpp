#include "trip_suggestions.h"

#include "core/error.h"
#include "text_forms.h"
#include "trip_columns.h"
#include "trip_placement.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace fb {
namespace {

// The key of two places in either direction.
std::pair<QString, QString> pairKey(const QString &one, const QString &other)
{
    return one < other ? std::pair(one, other) : std::pair(other, one);
}

// Whether typed (case-folded) begins one of the words of folded.
bool beginsAWord(QStringView folded, QStringView typed)
{
    for (qsizetype at = 0; at + typed.size() <= folded.size(); ++at) {
        const bool wordStart =
            at == 0 || (!folded[at - 1].isLetterOrNumber() && folded[at].isLetterOrNumber());
        if (wordStart && folded.sliced(at).startsWith(typed))
            return true;
    }
    return false;
}

// Collects each text once with the latest moment it was used at; read out latest first.
template<typename Text> class TextCollector {
public:
    void add(const QString &text, qint64 usedAt)
    {
        if (text.isEmpty())
            return;
        const auto found = m_latest.find(text);
        if (found == m_latest.end())
            m_latest.insert(text, usedAt);
        else if (*found < usedAt)
            *found = usedAt;
    }
    // The texts not seen yet follow in the order added.
    void addAfterwards(const QString &text)
    {
        if (!text.isEmpty() && !m_latest.contains(text) && !m_afterwards.contains(text))
            m_afterwards.append(text);
    }
    std::vector<Text> take()
    {
        std::vector<std::pair<qint64, QString>> used;
        used.reserve(std::size_t(m_latest.size()));
        for (auto it = m_latest.cbegin(); it != m_latest.cend(); ++it)
            used.emplace_back(it.value(), it.key());
        std::sort(used.begin(), used.end(), [](const auto &a, const auto &b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        std::vector<Text> texts;
        texts.reserve(used.size() + std::size_t(m_afterwards.size()));
        const auto keep = [&texts](const QString &text) {
            if (!text.trimmed().isEmpty())
                texts.push_back(Text{text, text.toCaseFolded()});
        };
        for (const auto &[usedAt, text] : used)
            keep(text);
        for (const QString &text : std::as_const(m_afterwards))
            keep(text);
        return texts;
    }

private:
    QHash<QString, qint64> m_latest;
    QStringList m_afterwards;
};

std::optional<double> kilometres(const QString &text)
{
    try {
        return parseNumberText(text);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

} // namespace

TripSuggestions TripSuggestions::of(const RowTable &trips, const RowTable &templates)
{
    return of(trips.rows(), templates.rows());
}

TripSuggestions TripSuggestions::of(const QList<Row> &trips, const QList<Row> &templates)
{
    TripSuggestions suggestions;
    suggestions.m_arrivals.reserve(std::size_t(trips.size()));
    TextCollector<Text> places;
    TextCollector<Text> purposes;
    // The trips are read in list order, one after the other: sorting them by their departure
    // first would jump about a large list.
    constexpr qint64 kNoMoment = std::numeric_limits<qint64>::min() / 4;
    for (qsizetype row = 0; row < trips.size(); ++row) {
        const Row &trip = trips.at(row);
        if (isDeleted(trip))
            continue;
        const std::optional<qint64> departs = departureKey(trip.caption);
        const QString &from = trip.subItem(TripSubItem::DeparturePlace);
        const QString &to = trip.subItem(TripSubItem::ArrivalPlace);
        suggestions.m_arrivals.emplace_back(departs, to);
        // Where a trip arrived comes before where it departed.
        const qint64 usedAt = 2 * departs.value_or(kNoMoment);
        places.add(to, usedAt + 1);
        places.add(from, usedAt);
        purposes.add(trip.subItem(TripSubItem::Purpose), usedAt);
        suggestions.join(from, to, {trip.subItem(TripSubItem::Distance), trip.caption, {}, usedAt});
    }
    for (qsizetype row = 0; row < templates.size(); ++row) {
        const Row &entry = templates.at(row);
        const QString &from = entry.subItem(TemplateSubItem::DeparturePlace);
        const QString &to = entry.subItem(TemplateSubItem::ArrivalPlace);
        places.addAfterwards(from);
        places.addAfterwards(to);
        purposes.addAfterwards(entry.subItem(TemplateSubItem::Purpose));
        suggestions.join(
            from, to, {entry.subItem(TemplateSubItem::Distance), {}, entry.caption, std::nullopt});
    }
    suggestions.m_places = places.take();
    suggestions.m_purposes = purposes.take();
    return suggestions;
}

void TripSuggestions::join(const QString &from, const QString &to, Joined joined)
{
    const std::optional<qint64> usedAt = joined.usedAt;
    if (from.isEmpty() || to.isEmpty())
        return;
    const std::pair<QString, QString> key = pairKey(from, to);
    const auto found = m_joined.find(key);
    // A trip wins over a template, the later trip over the earlier one.
    if (found == m_joined.end())
        m_joined.insert(key, std::move(joined));
    else if (usedAt && (!found->usedAt || *found->usedAt < *usedAt))
        *found = std::move(joined);
}

QStringList TripSuggestions::matching(const std::vector<Text> &texts, const QString &typed,
                                      qsizetype limit)
{
    QStringList found;
    const QString folded = typed.toCaseFolded();
    for (const Text &text : texts) {
        if (found.size() >= limit)
            break;
        if (beginsAWord(text.folded, folded))
            found.append(text.shown);
    }
    return found;
}

QStringList TripSuggestions::matchingPlaces(const QString &typed, qsizetype limit) const
{
    return matching(m_places, typed, limit);
}

QStringList TripSuggestions::matchingPurposes(const QString &typed, qsizetype limit) const
{
    return matching(m_purposes, typed, limit);
}

QString TripSuggestions::whereTheCarIs(const QDateTime &departure) const
{
    const std::optional<qint64> key =
        departure.isValid() ? std::optional(departureKey(departure)) : std::nullopt;
    // A new trip goes before the first live trip that departs after it.
    auto next = m_arrivals.cend();
    if (key)
        next = std::find_if(m_arrivals.cbegin(), m_arrivals.cend(),
                            [&](const auto &trip) { return trip.first && *trip.first > *key; });
    return next == m_arrivals.cbegin() ? QString() : std::prev(next)->second;
}

QStringList TripSuggestions::placesBefore(const QDateTime &departure, qsizetype limit) const
{
    QStringList offered;
    if (const QString here = whereTheCarIs(departure); !here.trimmed().isEmpty())
        offered.append(here);
    for (const Text &place : m_places) {
        if (offered.size() >= limit)
            break;
        if (place.shown != offered.value(0))
            offered.append(place.shown);
    }
    return offered;
}

std::optional<TripSuggestions::Distance> TripSuggestions::distanceBetween(const QString &from,
                                                                          const QString &to) const
{
    const auto found = m_joined.constFind(pairKey(from, to));
    if (found == m_joined.cend())
        return std::nullopt;
    const std::optional<double> km = kilometres(found->distance);
    if (!km)
        return std::nullopt;
    if (found->departure.isEmpty())
        return Distance{*km, QStringLiteral("wie Vorlage \"%1\"").arg(found->templateName)};
    const std::optional<QDateTime> departs = tryParseDateTimeText(found->departure);
    return Distance{*km, QStringLiteral("wie am ") +
                             (departs ? departs->date().toString(QStringLiteral("dd.MM.yyyy"))
                                      : found->departure)};
}

} // namespace fb
