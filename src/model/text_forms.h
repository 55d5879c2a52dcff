#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace fb {

// The text forms in which the trip and template tables hold moments and numbers. They are
// fixed to the German forms whatever the system's locale, so that files and their texts
// read the same everywhere.

// Shortest fixed-point form with at most 15 significant digits, decimal comma, no grouping,
// no trailing zeros: "12", "12,5", "140,25". Values with more than 15 integer digits and
// non-zero values below 0,0001 use exponent form ("1E20", "-1,5E-5").
QString formatNumberText(double value);

// Parses a number text: optional blanks, sign, digits with one decimal comma, an optional
// exponent. Throws ConversionError "'text' is not a valid floating point value", the text
// as fileTextForMessage shows it.
double parseNumberText(const QString &text);

// "dd.MM.yyyy HH:mm:ss"; the blank and the time are left out at exactly midnight
// (milliseconds are not shown and do not count). An invalid value gives an empty text.
QString formatDateTimeText(const QDateTime &dateTime);

// Parses "d.M.yyyy" with an optional time "H:mm" or "H:mm:ss"; a two-digit year falls in the
// hundred years around the current one. The result has time spec UTC and stands for the
// plain wall-clock date and time. Throws ConversionError "'text' is not a valid date and time"
// (the text as fileTextForMessage shows it).
QDateTime parseDateTimeText(const QString &text);
// The same, with nothing for a text that is no moment.
std::optional<QDateTime> tryParseDateTimeText(const QString &text);

} // namespace fb
