#include "significant_digits.h"

#include <array>
#include <charconv>
#include <string_view>

namespace fb {

SignificantDigits significantDigits(double value)
{
    // d.dddddddddddddde±x from the exact, correctly rounded conversion of the library.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view scientific(buffer.data(), std::size_t(result.ptr - buffer.data()));
    SignificantDigits parts;
    parts.negative = scientific.front() == '-';
    const std::size_t ePos = scientific.find('e');
    const std::size_t start = parts.negative ? 1 : 0;
    for (const char c : scientific.substr(start, ePos - start)) {
        if (c != '.')
            parts.digits.push_back(c);
    }
    const std::string_view exponentText = scientific.substr(ePos + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), parts.exponent);
    return parts;
}

} // namespace fb
