#include "number_text_reference.h"

#include "core/error.h"
#include "model/text_forms.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace fb;
using namespace fb::test;

namespace {

// Values on both sides of 10^k: a few units in the last place, relative steps down to the
// sixteenth digit, and (from 1 on) whole fractions such as 999999999999999,5.
std::vector<double> aroundPowerOfTen(int k)
{
    const double power = std::stod("1e" + std::to_string(k));
    std::vector<double> values{power};
    double below = power;
    double above = power;
    for (int step = 0; step < 4; ++step) {
        below = std::nextafter(below, 0.0);
        above = std::nextafter(above, std::numeric_limits<double>::infinity());
        values.push_back(below);
        values.push_back(above);
    }
    for (int digits = 1; digits <= 17; ++digits) {
        const double relative = std::stod("1e-" + std::to_string(digits));
        for (const double factor : {1.0, 5.0, 4.9, 5.1})
            values.insert(values.end(),
                          {power * (1 - factor * relative), power * (1 + factor * relative)});
    }
    if (k >= 0) {
        for (const double fraction : {0.5, 0.25, 0.125, 0.1, 0.05, 0.001, 0.0001})
            values.insert(values.end(), {power - fraction, power + fraction});
    }
    return values;
}

void expectAsReference(double value)
{
    const QString text = formatNumberText(value);
    ASSERT_EQ(text, referenceNumberText(value)) << value;
    // What is written reads back as the value to 15 digits, and writes the same again.
    const double readBack = parseNumberText(text);
    ASSERT_LE(std::fabs(readBack - value), std::fabs(value) * 1e-14) << value;
    ASSERT_EQ(formatNumberText(readBack), text) << value;
}

} // namespace

TEST(NumberTextEdges, EveryPowerOfTenApproachedFromBothSidesMatchesTheReference)
{
    for (int k = -5; k <= 21; ++k) {
        for (const double value : aroundPowerOfTen(k)) {
            expectAsReference(value);
            expectAsReference(-value);
        }
    }
}

TEST(NumberTextEdges, JustUnderTheExponentFormRoundsCorrectly)
{
    // Used to read before the table of powers of ten (a distance typed in a file).
    EXPECT_EQ(formatNumberText(999999999999999.5), QStringLiteral("1E15"));
    EXPECT_EQ(formatNumberText(-999999999999999.5), QStringLiteral("-1E15"));
    EXPECT_EQ(formatNumberText(999999999999998.5), QStringLiteral("999999999999998"));
    EXPECT_EQ(formatNumberText(99999999999999.96), QStringLiteral("100000000000000"));
    EXPECT_EQ(formatNumberText(999999999999999.25), QStringLiteral("999999999999999"));
    EXPECT_EQ(formatNumberText(99999999999999.94), QStringLiteral("99999999999999,9"));
    EXPECT_EQ(formatNumberText(0.00009999999999999999), QStringLiteral("0,0001"));
    EXPECT_EQ(formatNumberText(0.0000999999999999999), QStringLiteral("9,99999999999999E-5"));
    EXPECT_EQ(formatNumberText(std::nextafter(1e21, 0.0)), QStringLiteral("1E21"));
}

TEST(NumberTextEdges, RandomValuesOfEveryMagnitudeMatchTheReference)
{
    QRandomGenerator random(1208);
    for (int i = 0; i < 200000; ++i) {
        const auto bits = random.generate64();
        const double value = std::bit_cast<double>(bits);
        if (std::isfinite(value))
            expectAsReference(value);
    }
    for (const double value :
         {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
          std::numeric_limits<double>::denorm_min(), 5e-324 * 3})
        expectAsReference(value);
}

TEST(NumberTextEdges, TooLargeToHoldIsRefusedWhateverTheExponentSays)
{
    const QString huge = QStringLiteral("1") + QString(400, QLatin1Char('0'));
    for (const QString &text :
         {huge, QString(huge + QStringLiteral("e-1")), QString(huge + QStringLiteral(",5e-80")),
          QString(QStringLiteral("00") + huge + QStringLiteral("e-1")),
          QStringLiteral("0,00001e400")}) {
        EXPECT_THROW(parseNumberText(text), ConversionError) << text.toStdString();
    }
    // The largest double is written rounded up past itself and must still read back.
    constexpr double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(formatNumberText(largest), QStringLiteral("1,79769313486232E308"));
    EXPECT_EQ(parseNumberText(QStringLiteral("1,79769313486232E308")), largest);
    EXPECT_EQ(parseNumberText(QStringLiteral("-179769313486232E294")), -largest);
    EXPECT_THROW(parseNumberText(QStringLiteral("1,79769313486233E308")), ConversionError);
    EXPECT_THROW(parseNumberText(QStringLiteral("1,8E308")), ConversionError);
    // Tiny values become zero of their sign, however they are written.
    EXPECT_EQ(parseNumberText(QStringLiteral("0,") + QString(400, QLatin1Char('0')) +
                              QStringLiteral("1e5")),
              0.0);
    EXPECT_EQ(parseNumberText(huge + QStringLiteral("e-800")), 0.0);
    const double negativeTiny = parseNumberText(QStringLiteral("-1E-400"));
    EXPECT_EQ(negativeTiny, 0.0);
    EXPECT_TRUE(std::signbit(negativeTiny));
    // Ones that can be held still read, even written with many digits.
    EXPECT_EQ(parseNumberText(huge + QStringLiteral("e-400")), 1.0);
    EXPECT_EQ(parseNumberText(QStringLiteral("4,94065645841247E-324")),
              std::numeric_limits<double>::denorm_min());
}
