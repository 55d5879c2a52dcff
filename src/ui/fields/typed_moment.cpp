#include "typed_moment.h"

#include "core/error.h"
#include "model/text_forms.h"

#include <algorithm>

namespace fb {
namespace {

bool onlyDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// Inserts a separator before each of the given positions, counted from the end.
QString separated(const QString &digits, QChar separator, std::initializer_list<int> fromEnd)
{
    QString text = digits;
    for (const int position : fromEnd)
        text.insert(text.size() - position, separator);
    return text;
}

} // namespace

QString separatedDateText(const QString &typed)
{
    if (!onlyDigits(typed))
        return typed;
    // Day and month always take two digits; the year two or four.
    if (typed.size() == 6)
        return separated(typed, QLatin1Char('.'), {2, 5});
    if (typed.size() == 8)
        return separated(typed, QLatin1Char('.'), {4, 7});
    return typed;
}

QString separatedTimeText(const QString &typed)
{
    if (!onlyDigits(typed))
        return typed;
    switch (typed.size()) {
    case 1:
    case 2:
        return typed + QStringLiteral(":00");
    case 3:
    case 4:
        return separated(typed, QLatin1Char(':'), {2});
    case 5:
    case 6:
        return separated(typed, QLatin1Char(':'), {2, 5});
    default:
        return typed;
    }
}

std::optional<QDate> readTypedDate(const QString &typed)
{
    const QString text = separatedDateText(typed);
    // The reader would take a time of day after the date; a date field holds none.
    if (text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char(':')))
        return std::nullopt;
    const std::optional<QDateTime> moment = tryParseDateTimeText(text);
    if (!moment)
        return std::nullopt;
    return moment->date();
}

std::optional<QTime> readTypedTime(const QString &typed)
{
    const QString text = separatedTimeText(typed);
    if (text.trimmed().isEmpty() || text.contains(QLatin1Char(' ')))
        return std::nullopt;
    // Any date serves: only the reader's grammar for the time of day is wanted.
    const std::optional<QDateTime> moment =
        tryParseDateTimeText(QStringLiteral("01.01.2000 ") + text);
    if (!moment)
        return std::nullopt;
    return moment->time();
}

} // namespace fb
