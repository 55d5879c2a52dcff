#pragma once

#include "row.h"

#include <QStringList>

namespace fb {

// Sub-item positions of a trip row; the caption holds the departure time.
namespace TripSubItem {
enum : qsizetype {
    DeparturePlace = 0,
    ArrivalTime = 1,
    ArrivalPlace = 2,
    Distance = 3,
    Purpose = 4,
    Kind = 5,
    Deleted = 6,
    KmStart = 7,
    KmEnd = 8,
    Count = 9, // every row has at least this many after the odometer pass
};
}

// Sub-item positions of a template row; the caption holds the template's name.
namespace TemplateSubItem {
enum : qsizetype { DeparturePlace, ArrivalPlace, Distance, Purpose, Kind, Count };
}

// The longest trip in kilometres that a dialog accepts and the check finds believable.
inline constexpr double kLongestTripKm = 100000;

inline const QString kBusinessTripKind = QStringLiteral("Geschäftlich");
inline const QString kPrivateTripKind = QStringLiteral("Privat");
inline const QString kDeletedMark = QStringLiteral("Ja");

// Any text in the deleted column marks the trip deleted, not only the "Ja" the program writes.
inline bool isDeleted(const Row &trip)
{
    return !trip.subItem(TripSubItem::Deleted).isEmpty();
}

// Exactly "Geschäftlich" is a business trip; every other kind text counts as private.
inline bool isBusinessTrip(const Row &trip)
{
    return trip.subItem(TripSubItem::Kind) == kBusinessTripKind;
}

// Column titles of the trip list, caption first.
QStringList tripColumnTitles();

// Column titles of the template list, caption first.
QStringList templateColumnTitles();

} // namespace fb
