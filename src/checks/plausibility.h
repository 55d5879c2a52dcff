#pragma once

#include "model/row_table.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace fb {

// One doubt about a trip, as an auditor would raise it.
struct Finding {
    qsizetype row = 0; // the trip's index in the table, deleted rows counted; -1 for a reading
    QString text;      // German: what is wrong, with the values concerned
    QString readingAt; // an odometer reading's moment, "dd.MM.yyyy HH:mm"; empty for a trip

    friend bool operator==(const Finding &, const Finding &) = default;
};

// When a trip was entered, as a local wall-clock moment (time spec UTC like the trips' own
// moments); nothing for a trip whose entry was not logged.
using EntryMoment = std::function<std::optional<QDateTime>(qsizetype row)>;

// The whole days by which a trip was entered late: only when it was entered more than 7 days
// after its arrival ("nachgetragen"); nothing when it was entered in time.
std::optional<qint64> daysEnteredLate(const QDateTime &arrives, const QDateTime &entered);

// Checks the live trips in list order; deleted rows are neither checked nor compared. For each
// trip, in this order: departing before the live trip above it departs, or else before it
// arrives (naming that trip); arriving no later than departing, or more than 24 hours after; a
// distance that is negative, over 100000 km or no number; an average speed over 200 km/h; a
// business trip without a purpose; and, where the entry moment is known, an entry more than 7 days
// after the arrival.
std::vector<Finding> checkPlausibility(const RowTable &trips,
                                       const EntryMoment &enteredAt = nullptr);

// The trip's departure as a finding shows it: "dd.MM.yyyy HH:mm", or its stored text when that
// is no moment; for a reading, the moment it was read.
QString findingDeparture(const RowTable &trips, const Finding &finding);

// "Fahrt N (dd.MM.yyyy HH:mm): text", N counting from 1 with deleted rows, the moment the
// trip's departure (its stored text when that is no moment); "Ablesung (dd.MM.yyyy HH:mm):
// text" for a reading.
QString findingLine(const RowTable &trips, const Finding &finding);

} // namespace fb
