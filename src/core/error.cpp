#include "error.h"

#include <algorithm>

namespace fb {
namespace {

bool needsEscape(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F)         // C0, DEL, C1
           || c == 0x2028 || c == 0x2029                // line and paragraph separators
           || c == 0x061C || c == 0x200E || c == 0x200F // bidirectional marks
           || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) // overrides
           || (c >= 0xD800 && c <= 0xDFFF); // a surrogate without its other half
}

void appendEscape(QString &out, char32_t c)
{
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    const int digits = c <= 0xFF ? 2 : 4;
    out += c <= 0xFF ? QLatin1String("\\x") : QLatin1String("\\u");
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += QLatin1Char(kHexDigits[(c >> shift) & 0xF]);
}

// The text with its control characters escaped, cut with "…" after limit characters.
QString escapedText(QStringView text, qsizetype limit)
{
    QString out;
    out.reserve(std::min(text.size(), limit) + 1);
    qsizetype shown = 0;
    qsizetype i = 0;
    while (i < text.size() && shown < limit) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += unit;
            out += text[i + 1];
            i += 2;
        } else {
            if (needsEscape(unit.unicode()))
                appendEscape(out, unit.unicode());
            else
                out += unit;
            ++i;
        }
        ++shown;
    }
    if (i < text.size())
        out += QChar(0x2026); // …
    return out;
}

} // namespace

QString displayMessage(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString fileTextForMessage(QStringView text)
{
    return escapedText(text, kMessageTextLimit);
}

QString controlsEscaped(QStringView text)
{
    return escapedText(text, text.size());
}

} // namespace fb
