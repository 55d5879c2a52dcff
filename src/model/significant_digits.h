#pragma once

#include <string>

namespace fb {

// The most significant decimal digits a stored number carries; more would show binary noise.
constexpr int kSignificantDigits = 15;

// A finite value rounded to kSignificantDigits significant digits (ties to even), as its digit
// string without sign or point and the decimal exponent of its first digit:
// -12,25 gives {true, "122500000000000", 1}.
struct SignificantDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

SignificantDigits significantDigits(double value);

} // namespace fb
