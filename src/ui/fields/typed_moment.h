#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace fb {

// What a person types into a date or time field, read with the logbook's own moment reader,
// so that every form a file may hold ("5.10.26", "05.10.2026", "8:15", "08:15:30") reads the
// same here. Digits typed without separators get them first: "051026" and "05102026" are
// dates, "0815" and "081530" times, and "8" is eight o'clock.

QString separatedDateText(const QString &typed);
QString separatedTimeText(const QString &typed);

// The date or time the text stands for; nothing for a text that is not one, a date that does
// not exist (31.02.2026) or a year outside 1 to 9999.
std::optional<QDate> readTypedDate(const QString &typed);
std::optional<QTime> readTypedTime(const QString &typed);

} // namespace fb
