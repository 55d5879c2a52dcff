#include "text_forms.h"

#include "core/error.h"
#include "significant_digits.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace fb {
namespace {

[[noreturn]] void throwNotANumber(const QString &text)
{
    throw ConversionError(
        QStringLiteral("'%1' is not a valid floating point value").arg(fileTextForMessage(text)));
}

[[noreturn]] void throwNotADateTime(const QString &text)
{
    throw ConversionError(
        QStringLiteral("'%1' is not a valid date and time").arg(fileTextForMessage(text)));
}

QString formatWholeNumber(double value)
{
    std::array<char, 24> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<long long>(value));
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

// Rounds to 15 significant digits in integer arithmetic: the value times a power of ten,
// rounded to a whole number. The product is off by at most half a unit in its last place
// (1/16 below 1e15), so the rounding is exact unless the product lies that close to a
// half; those rare values go the general way. Readings and distances (12370,5) take this
// path, which is several times faster than the general one.
std::optional<QString> formatFixedFast(double value)
{
    static constexpr std::array<double, 21> kPowersOfTen = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9, 1e10,
        1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20};
    constexpr int kMaxDecimals = static_cast<int>(kPowersOfTen.size()) - 1;
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15))
        return std::nullopt;
    // Decimals that leave 15 significant digits. The logarithm may be one off at powers of
    // ten (just under 1e15 it reads 15, which would ask for -1 decimals), so the estimate is
    // kept inside the table and corrected by one step; anything still off goes the general way.
    int decimals =
        std::clamp(kSignificantDigits - (static_cast<int>(std::floor(std::log10(magnitude))) + 1),
                   0, kMaxDecimals);
    double scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(decimals)];
    if (scaled >= 1e15 && decimals > 0) {
        --decimals;
        scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(decimals)];
    } else if (scaled < 1e14 && decimals < kMaxDecimals) {
        ++decimals;
        scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(decimals)];
    }
    if (!(scaled >= 1e14 && scaled < 1e15))
        return std::nullopt;
    if (std::fabs(scaled - std::floor(scaled) - 0.5) < 0.07)
        return std::nullopt;
    auto digits = static_cast<long long>(std::llround(scaled));
    if (digits >= 1'000'000'000'000'000LL) // rounded up to the next power of ten
        return std::nullopt;
    // Trailing zeros of the fraction are dropped.
    while (decimals > 0 && digits % 10 == 0) {
        digits /= 10;
        --decimals;
    }
    std::array<char, 24> digitText{};
    const auto end =
        std::to_chars(digitText.data(), digitText.data() + digitText.size(), digits).ptr;
    const auto length = static_cast<int>(end - digitText.data());

    std::array<char, 48> text{};
    char *out = text.data();
    if (value < 0)
        *out++ = '-';
    if (length <= decimals) {
        *out++ = '0';
        *out++ = ',';
        for (int i = length; i < decimals; ++i)
            *out++ = '0';
        out = std::copy(digitText.data(), end, out);
    } else {
        out = std::copy(digitText.data(), end - decimals, out);
        if (decimals > 0) {
            *out++ = ',';
            out = std::copy(end - decimals, end, out);
        }
    }
    return QString::fromLatin1(text.data(), out - text.data());
}

// The significant digits of a number in plain ASCII form and the decimal exponent of the
// first of them ("-0.0123e5" has "123" and 3), to tell an overflow from an underflow when
// the value cannot be held. The written exponent is capped: only its sign matters then.
struct LeadingDigits {
    std::string digits;
    long long exponent = 0;
};

LeadingDigits leadingDigits(std::string_view ascii)
{
    LeadingDigits leading;
    const std::size_t ePos = ascii.find('e');
    long long integerDigits = 0;
    long long zerosAfterPoint = 0;
    bool seenPoint = false;
    for (const char c : ascii.substr(0, ePos)) {
        if (c == '.') {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (leading.digits.empty() && c == '0') {
                zerosAfterPoint += seenPoint ? 1 : 0;
                continue;
            }
            leading.digits.push_back(c);
            integerDigits += seenPoint ? 0 : 1;
        }
    }
    long long written = 0;
    bool negativeExponent = false;
    if (ePos != std::string_view::npos) {
        for (const char c : ascii.substr(ePos + 1)) {
            if (c == '-')
                negativeExponent = true;
            else if (c >= '0' && c <= '9')
                written = std::min(written * 10 + (c - '0'), 1'000'000'000LL);
        }
    }
    leading.exponent = (integerDigits > 0 ? integerDigits - 1 : -(zerosAfterPoint + 1)) +
                       (negativeExponent ? -written : written);
    return leading;
}

// The largest doubles are written rounded up to 15 digits, "1,79769313486232E308", which is
// above the largest double; such a text (significant digits of an E308 value) still reads back.
bool isLargestDoubleRoundedUp(const std::string &significantDigits)
{
    std::string tenth = significantDigits.substr(0, 1);
    if (significantDigits.size() > 1)
        tenth += '.' + significantDigits.substr(1);
    tenth += "e307";
    double value = 0;
    const auto result = std::from_chars(tenth.data(), tenth.data() + tenth.size(), value);
    return result.ec == std::errc() && value <= 1.79769313486232e307;
}

} // namespace

QString formatNumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // Readings and distances are mostly whole numbers; they need no rounding to 15 digits.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return formatWholeNumber(value);
    if (const auto fixedText = formatFixedFast(value))
        return *fixedText;

    // The value rounded to 15 significant digits.
    auto [negative, digits, exponent] = significantDigits(value);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent >= kSignificantDigits || exponent < -4) {
        text += digits.front();
        if (digits.size() > 1)
            text += ',' + digits.substr(1);
        text += 'E' + std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            text += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, integerDigits) + ',' + digits.substr(integerDigits);
        }
    } else {
        text += "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

double parseNumberText(const QString &text)
{
    // Copy into plain ASCII with a decimal point, checking the shape on the way.
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    qsizetype end = n;
    while (end > i && text.at(end - 1) == QLatin1Char(' '))
        --end;
    if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        if (text.at(i) == QLatin1Char('-'))
            ascii.push_back('-');
        ++i;
    }
    int mantissaDigits = 0;
    bool seenComma = false;
    bool seenExponent = false;
    int exponentDigits = 0;
    for (; i < end; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            ascii.push_back(static_cast<char>(c));
            (seenExponent ? exponentDigits : mantissaDigits)++;
        } else if (c == u',' && !seenComma && !seenExponent) {
            seenComma = true;
            ascii.push_back('.');
        } else if ((c == u'e' || c == u'E') && !seenExponent && mantissaDigits > 0) {
            seenExponent = true;
            ascii.push_back('e');
            if (i + 1 < end &&
                (text.at(i + 1) == QLatin1Char('+') || text.at(i + 1) == QLatin1Char('-'))) {
                ++i;
                ascii.push_back(static_cast<char>(text.at(i).unicode()));
            }
        } else {
            throwNotANumber(text);
        }
    }
    if (mantissaDigits == 0 || (seenExponent && exponentDigits == 0))
        throwNotANumber(text);

    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large to hold is not a number.
        const bool negative = ascii.front() == '-';
        const LeadingDigits leading = leadingDigits(ascii);
        if (leading.exponent == 308 && isLargestDoubleRoundedUp(leading.digits))
            return negative ? -std::numeric_limits<double>::max()
                            : std::numeric_limits<double>::max();
        if (leading.exponent >= 0)
            throwNotANumber(text);
        return negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size())
        throwNotANumber(text);
    return value;
}

QString formatDateTimeText(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return {};
    const QTime time = dateTime.time();
    QString date = dateTime.date().toString(QStringLiteral("dd.MM.yyyy"));
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm:ss"));
}

namespace {

// Reads up to maxDigits digits at position; nothing when there is no digit.
std::optional<int> readNumber(const QString &text, qsizetype &position, int maxDigits,
                              int *digitCount = nullptr)
{
    int value = 0;
    int count = 0;
    while (position < text.size() && count < maxDigits && text.at(position).isDigit() &&
           text.at(position).unicode() < 0x80) {
        value = value * 10 + (text.at(position).unicode() - u'0');
        ++position;
        ++count;
    }
    if (digitCount)
        *digitCount = count;
    if (count == 0)
        return std::nullopt;
    return value;
}

bool expect(const QString &text, qsizetype &position, QChar c)
{
    if (position < text.size() && text.at(position) == c) {
        ++position;
        return true;
    }
    return false;
}

int expandTwoDigitYear(int year)
{
    const int currentYear = QDate::currentDate().year();
    const int century = currentYear - currentYear % 100;
    int expanded = century + year;
    if (expanded > currentYear + 50)
        expanded -= 100;
    else if (expanded <= currentYear - 50)
        expanded += 100;
    return expanded;
}

} // namespace

QDateTime parseDateTimeText(const QString &input)
{
    const QString text = input.trimmed();
    qsizetype pos = 0;
    const auto day = readNumber(text, pos, 2);
    if (!day || !expect(text, pos, QLatin1Char('.')))
        throwNotADateTime(input);
    const auto month = readNumber(text, pos, 2);
    if (!month || !expect(text, pos, QLatin1Char('.')))
        throwNotADateTime(input);
    int yearDigits = 0;
    auto year = readNumber(text, pos, 4, &yearDigits);
    if (!year || yearDigits == 3)
        throwNotADateTime(input);
    if (yearDigits <= 2)
        year = expandTwoDigitYear(*year);
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        throwNotADateTime(input);

    QTime time(0, 0);
    if (pos < text.size()) {
        if (!expect(text, pos, QLatin1Char(' ')))
            throwNotADateTime(input);
        while (expect(text, pos, QLatin1Char(' '))) {
        }
        const auto hour = readNumber(text, pos, 2);
        if (!hour || !expect(text, pos, QLatin1Char(':')))
            throwNotADateTime(input);
        const auto minute = readNumber(text, pos, 2);
        if (!minute)
            throwNotADateTime(input);
        std::optional<int> second = 0;
        if (expect(text, pos, QLatin1Char(':')))
            second = readNumber(text, pos, 2);
        if (!second || pos != text.size() || !QTime::isValid(*hour, *minute, *second))
            throwNotADateTime(input);
        time = QTime(*hour, *minute, *second);
    }
    return QDateTime(date, time, Qt::UTC);
}

std::optional<QDateTime> tryParseDateTimeText(const QString &text)
{
    try {
        return parseDateTimeText(text);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

} // namespace fb
