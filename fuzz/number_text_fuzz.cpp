// libFuzzer target for the number text. The first byte chooses what the rest is:
//  even: eight bytes of a double, which must be written as the reference writes it and read
//        back to the same text;
//  odd:  a text (UTF-8), which must read as a number or be refused with a ConversionError;
//        a number read must write as the reference writes it and read back stably.
#include "../tests/model/number_text_reference.h"
#include "core/error.h"
#include "fuzz_check.h"
#include "model/text_forms.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

using fb::fuzz::require;

namespace {

void checkWritesAndReadsBack(double value)
{
    const QString text = fb::formatNumberText(value);
    require(text == fb::test::referenceNumberText(value), "written as the reference",
            QStringLiteral("%1 -> %2, expected %3")
                .arg(value, 0, 'g', 17)
                .arg(text, fb::test::referenceNumberText(value)));
    if (!std::isfinite(value))
        return;
    double readBack = 0;
    try {
        readBack = fb::parseNumberText(text);
    } catch (const fb::Error &) {
        require(false, "a written number reads back", text);
    }
    // Fifteen digits; below the normal range the nearest double may be a unit further off.
    const double tolerance =
        std::max(std::fabs(value) * 1e-14, std::numeric_limits<double>::denorm_min());
    require(std::fabs(readBack - value) <= tolerance, "read back as the value",
            QStringLiteral("%1 -> %2 -> %3")
                .arg(value, 0, 'g', 17)
                .arg(text)
                .arg(readBack, 0, 'g', 17));
    require(fb::formatNumberText(readBack) == text, "written again the same", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool textMode = data[0] & 1;
    ++data;
    --size;
    if (!textMode) {
        if (size < sizeof(double))
            return 0;
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        checkWritesAndReadsBack(value);
        return 0;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    double value = 0;
    try {
        value = fb::parseNumberText(text);
    } catch (const fb::ConversionError &) {
        return 0;
    }
    require(std::isfinite(value), "a number read is finite", text);
    checkWritesAndReadsBack(value);
    return 0;
}
