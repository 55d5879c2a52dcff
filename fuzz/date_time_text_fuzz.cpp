// libFuzzer target for the date-time text. The first byte chooses what the rest is:
//  even: eight bytes of a stored date (days since 30 December 1899), whose text must read
//        back as that date and time to the second, or be empty when the value is no date;
//  odd:  a text (UTF-8), which must read as a date and time or be refused with a
//        ConversionError; what is read must write and read back to the same.
#include "core/error.h"
#include "core/ole_date.h"
#include "fuzz_check.h"
#include "model/text_forms.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

using fb::fuzz::require;

namespace {

std::optional<QDateTime> tryParse(const QString &text)
{
    try {
        return fb::parseDateTimeText(text);
    } catch (const fb::ConversionError &) {
        return std::nullopt;
    }
}

void checkWritesAndReadsBack(const QDateTime &moment)
{
    const QString text = fb::formatDateTimeText(moment);
    const std::optional<QDateTime> readBack = tryParse(text);
    require(readBack.has_value(), "a written date reads back", text);
    const QTime time = moment.time();
    const QDateTime toTheSecond(moment.date(), QTime(time.hour(), time.minute(), time.second()),
                                Qt::UTC);
    require(*readBack == toTheSecond, "read back to the second",
            text + QStringLiteral(" -> ") + readBack->toString(Qt::ISODateWithMs));
    require(fb::formatDateTimeText(*readBack) == text, "written again the same", text);
    // And through the stored value, as a file keeps it.
    const QString stored = fb::formatDateTimeText(fb::fromOleDate(fb::toOleDate(*readBack)));
    require(stored == text, "the stored value shows the same text",
            text + QStringLiteral(" / ") + stored);
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
        const QDateTime moment = fb::fromOleDate(value);
        if (!moment.isValid()) {
            require(fb::formatDateTimeText(moment).isEmpty(), "no date, no text");
            return 0;
        }
        require(moment.date().year() >= 1 && moment.date().year() <= 9999,
                "a date lies in the years 1 to 9999", moment.toString(Qt::ISODate));
        checkWritesAndReadsBack(moment);
        return 0;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (const std::optional<QDateTime> moment = tryParse(text))
        checkWritesAndReadsBack(*moment);
    return 0;
}
