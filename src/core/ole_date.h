#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace fb {

// Dates are stored as days since 30 December 1899 with the time of day as the fraction
// (0.5 is noon). For negative values the integer part counts the days and the fraction's
// absolute value is still the time: -1.25 is 29 December 1899, 06:00.
//
// The model keeps these values as read, so a file is written back bit for bit; they are
// turned into calendar values only where something is shown or computed.

double toOleDate(const QDate &date, const QTime &time = QTime(0, 0));
double toOleDate(const QDateTime &dateTime);

// The wall-clock date and time of a stored value (time spec UTC, used as a plain date and
// time without a zone), to the millisecond; invalid for values outside the years 1 to 9999
// and for values that are not numbers.
QDateTime fromOleDate(double value);

// The earliest and latest stored values that fromOleDate turns into a valid date and time.
constexpr double kOleDateMin = -693593.0;        // 1 January 0001
constexpr double kOleDateMax = 2958465.99999999; // 31 December 9999, 23:59:59.999

} // namespace fb
