#pragma once

#include "row_table.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace fb {

// What the trip dialog and the template editor offer while a trip is typed, worked out once
// each time a dialog is shown: the places and purposes the logbook already holds, where the
// car stands before a trip, and the distance of an earlier trip between two places. Typing a
// trip that the logbook has seen before then takes a few keys instead of a hundred.
class TripSuggestions {
public:
    // Places and purposes of the live trips, the most recent departure first, then those of
    // the templates in their order; each text once.
    static TripSuggestions of(const RowTable &trips, const RowTable &templates);
    static TripSuggestions of(const QList<Row> &trips, const QList<Row> &templates);

    // The places (purposes) that have a word beginning with typed, case ignored, in the order
    // above; at most limit of them.
    QStringList matchingPlaces(const QString &typed, qsizetype limit = kShown) const;
    QStringList matchingPurposes(const QString &typed, qsizetype limit = kShown) const;
    // The places to offer in an empty field: where the car is before a trip departing then,
    // followed by the other places.
    QStringList placesBefore(const QDateTime &departure, qsizetype limit = kShown) const;
    // The arrival place of the live trip that comes just before a new trip departing then, as
    // the trip will be placed in the list; empty when none does.
    QString whereTheCarIs(const QDateTime &departure) const;

    // The distance of the most recent live trip between the two places, in either direction,
    // or else of the first template between them; with where it came from ("wie am
    // 24.11.2026", "wie Vorlage "Kunde Bonn"").
    struct Distance {
        double kilometres = 0;
        QString source;
    };
    std::optional<Distance> distanceBetween(const QString &from, const QString &to) const;

    static constexpr qsizetype kShown = 12;

private:
    struct Text {
        QString shown;
        QString folded;
    };
    static QStringList matching(const std::vector<Text> &texts, const QString &typed,
                                qsizetype limit);

    std::vector<Text> m_places;
    std::vector<Text> m_purposes;
    // The live trips in list order: departure (seconds, when it is a moment) and arrival place.
    std::vector<std::pair<std::optional<qint64>, QString>> m_arrivals;
    // For two places (in either order): the distance text that joined them last and the
    // departure of that trip, or the template's name; read only when asked.
    struct Joined {
        QString distance;
        QString departure;
        QString templateName;
        std::optional<qint64> usedAt; // nothing for a template
    };
    QHash<std::pair<QString, QString>, Joined> m_joined;
    // Keeps the latest trip that joined the two places, or else the first template.
    void join(const QString &from, const QString &to, Joined joined);
};

} // namespace fb
