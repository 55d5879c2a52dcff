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
QString pairKey(const QString &one, const QString &other)
{
    return one < other ? one + QChar(0x1F) + other : other + QChar(0x1F) + one;
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

class TextCollector {
public:
    void add(const QString &text)
    {
        if (text.trimmed().isEmpty() || m_seen.contains(text))
            return;
        m_seen.insert(text);
        m_texts.push_back({text, text.toCaseFolded()});
    }
    template<typename Text> std::vector<Text> take()
    {
        std::vector<Text> texts;
        texts.reserve(m_texts.size());
        for (auto &[shown, folded] : m_texts)
            texts.push_back(Text{std::move(shown), std::move(folded)});
        return texts;
    }

private:
    QSet<QString> m_seen;
    std::vector<std::pair<QString, QString>> m_texts;
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
    TripSuggestions suggestions;
    struct Live {
        std::optional<qint64> departs;
        qsizetype row;
    };
    std::vector<Live> live;
    for (qsizetype row = 0; row < trips.count(); ++row) {
        const Row &trip = trips.at(row);
        if (isDeleted(trip))
            continue;
        live.push_back({departureKey(trip.caption), row});
        suggestions.m_arrivals.emplace_back(live.back().departs,
                                            trip.subItem(TripSubItem::ArrivalPlace));
    }
    // The most recent first; among equal moments, or none, the lower row first.
    std::stable_sort(live.begin(), live.end(), [](const Live &a, const Live &b) {
        return a.departs.value_or(std::numeric_limits<qint64>::min()) >
               b.departs.value_or(std::numeric_limits<qint64>::min());
    });

    TextCollector places;
    TextCollector purposes;
    for (const Live &entry : live) {
        const Row &trip = trips.at(entry.row);
        const QString &from = trip.subItem(TripSubItem::DeparturePlace);
        const QString &to = trip.subItem(TripSubItem::ArrivalPlace);
        places.add(to);
        places.add(from);
        purposes.add(trip.subItem(TripSubItem::Purpose));
        const QString key = pairKey(from, to);
        if (!from.isEmpty() && !to.isEmpty() && !suggestions.m_distances.contains(key)) {
            const std::optional<QDateTime> departs = tryParseDateTimeText(trip.caption);
            if (const std::optional<double> km = kilometres(trip.subItem(TripSubItem::Distance));
                km && departs)
                suggestions.m_distances.insert(
                    key, {*km, QStringLiteral("wie am ") +
                                   departs->date().toString(QStringLiteral("dd.MM.yyyy"))});
        }
    }
    for (qsizetype row = 0; row < templates.count(); ++row) {
        const Row &entry = templates.at(row);
        const QString &from = entry.subItem(TemplateSubItem::DeparturePlace);
        const QString &to = entry.subItem(TemplateSubItem::ArrivalPlace);
        places.add(from);
        places.add(to);
        purposes.add(entry.subItem(TemplateSubItem::Purpose));
        const QString key = pairKey(from, to);
        if (!from.isEmpty() && !to.isEmpty() && !suggestions.m_distances.contains(key)) {
            if (const std::optional<double> km =
                    kilometres(entry.subItem(TemplateSubItem::Distance)))
                suggestions.m_distances.insert(
                    key, {*km, QStringLiteral("wie Vorlage \"%1\"").arg(entry.caption)});
        }
    }
    suggestions.m_places = places.take<Text>();
    suggestions.m_purposes = purposes.take<Text>();
    return suggestions;
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
        departure.isValid() ? departureKey(formatDateTimeText(departure)) : std::nullopt;
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
    const auto found = m_distances.constFind(pairKey(from, to));
    if (found == m_distances.cend())
        return std::nullopt;
    return *found;
}

} // namespace fb
