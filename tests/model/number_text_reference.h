#pragma once

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace fb::test {

// The number text worked out apart from the program: the C library prints the exact binary
// value rounded to 15 significant digits (exact ties to even), and the digits are laid out
// here in the program's form: decimal comma, no trailing zeros, and exponent form ("1E20",
// "-1,5E-5") for 16 or more integer digits and for values below 0,0001.
inline QString referenceNumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.14e", std::fabs(value)); // d.ddddddddddddde±xx
    std::string digits;
    digits += printed[0];
    digits.append(printed + 2, 14);
    const int exponent = std::stoi(printed + 17);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        text += digits.front();
        if (digits.size() > 1)
            text.append(",").append(digits, 1);
        text.append("E").append(std::to_string(exponent));
    } else if (exponent < 0) {
        text.append("0,").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent + 1);
        digits.resize(std::max(digits.size(), integerDigits), '0');
        text.append(digits, 0, integerDigits);
        if (digits.size() > integerDigits)
            text.append(",").append(digits, integerDigits);
    }
    return QString::fromStdString(text);
}

} // namespace fb::test
