#include "evaluation.h"

#include "model/row_table.h"
#include "model/significant_digits.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <array>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace fb {
namespace {

QStringList countLines(const Evaluation &evaluation)
{
    return {
        QStringLiteral("Anzahl geschäftlicher Fahrten: %1").arg(evaluation.businessCount),
        QStringLiteral("Anzahl privater Fahrten: %1").arg(evaluation.privateCount),
        QStringLiteral("Anzahl Fahrten gesamt: %1")
            .arg(qint64(evaluation.businessCount) + evaluation.privateCount),
    };
}

QStringList kilometreLines(const Evaluation &evaluation, int decimals)
{
    return {
        QStringLiteral("Geschäftlich gefahrene Kilometer: ") +
            formatKilometres(evaluation.businessKm, decimals),
        QStringLiteral("Privat gefahrene Kilometer: ") +
            formatKilometres(evaluation.privateKm, decimals),
        QStringLiteral("Gefahrene Kilometer gesamt: ") +
            formatKilometres(evaluation.businessKm + evaluation.privateKm, decimals),
    };
}

} // namespace

void Evaluation::add(const Row &trip, double distance)
{
    if (isBusinessTrip(trip)) {
        ++businessCount;
        businessKm += distance;
    } else {
        ++privateCount;
        privateKm += distance;
    }
}

Evaluation evaluateTrips(const RowTable &trips)
{
    Evaluation evaluation;
    for (const Row &trip : trips.rows()) {
        if (isDeleted(trip))
            continue;
        evaluation.add(trip, parseNumberText(trip.subItem(TripSubItem::Distance)));
    }
    return evaluation;
}

QStringList evaluationLines(const Evaluation &evaluation)
{
    QStringList lines = countLines(evaluation);
    lines.append(QString());
    lines.append(kilometreLines(evaluation, 2));
    return lines;
}

QStringList printedEvaluationLines(const Evaluation &evaluation)
{
    return countLines(evaluation) + kilometreLines(evaluation, 1);
}

QString formatKilometres(double value, int decimals)
{
    if (!std::isfinite(value))
        return formatNumberText(value);
    // Beyond 15 integer digits fixed-point notation would show digits that are not there.
    if (std::fabs(value) >= 1e15)
        return formatNumberText(value);
    // The 15 significant digits, then rounded to the decimals shown, halves away from zero
    // as a person rounds (12,25 shows as 12,3 with one decimal).
    auto [negative, digits, exponent] = significantDigits(value);

    // Digits before the point: exponent + 1. Bring the digits to exactly the ones shown.
    int integerDigits = exponent + 1;
    const int kept = integerDigits + decimals;
    if (kept < 0) {
        digits.assign(1, '0');
        integerDigits = 1;
        digits.append(std::size_t(decimals), '0');
    } else {
        const bool roundUp = std::size_t(kept) < digits.size() && digits[std::size_t(kept)] >= '5';
        digits.resize(std::size_t(kept), '0');
        if (roundUp) {
            int i = kept - 1;
            for (; i >= 0 && digits[std::size_t(i)] == '9'; --i)
                digits[std::size_t(i)] = '0';
            if (i >= 0) {
                ++digits[std::size_t(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++integerDigits;
            }
        }
        if (integerDigits <= 0) {
            digits.insert(0, std::size_t(1 - integerDigits), '0');
            integerDigits = 1;
        }
    }
    std::string text = digits.substr(0, std::size_t(integerDigits));
    if (decimals > 0)
        text += ',' + digits.substr(std::size_t(integerDigits));
    // "-0,0" would read as a negative figure where nothing was driven.
    if (negative && text.find_first_not_of("0,") != std::string::npos)
        text.insert(0, 1, '-');
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace fb
