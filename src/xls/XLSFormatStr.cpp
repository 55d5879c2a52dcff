#include "XLSFormatStr.h"

#include "XLSError.h"

#include <algorithm>
#include <array>

namespace fb::xls {
namespace {

struct BuiltIn {
    std::uint16_t fileIndex;
    const char *text;
};

// In table order; the file indices are those fixed by the file format.
constexpr std::array<BuiltIn, TFormatStrings::kBuiltInCount> kBuiltIns = {{
    {0, "General"},
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {5, "\"$\"#,##0_);(\"$\"#,##0)"},
    {6, "\"$\"#,##0_);[Red](\"$\"#,##0)"},
    {7, "\"$\"#,##0.00_);(\"$\"#,##0.00)"},
    {8, "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13, "# ?\?/??"},
    {14, "mm/dd/yy"},
    {15, "d-mmm-yy"},
    {16, "d-mmm"},
    {17, "mmm-yy"},
    {18, "h:mm AM/PM"},
    {19, "h:mm:ss AM/PM"},
    {20, "h:mm"},
    {21, "h:mm:ss"},
    {22, "m/d/yy h:mm"},
    {42, "_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)"},
    {41, "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)"},
    {44, "_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"?\?_);_(@_)"},
    {43, "_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"?\?_);_(@_)"},
    {4, "#,##0.00"},
    {37, "#,##0_);(#,##0)"},
    {38, "#,##0_);[Red](#,##0)"},
    {39, "#,##0.00_);(#,##0.00)"},
    {40, "#,##0.00_);[Red](#,##0.00)"},
    {45, "mm:ss"},
    {46, "[h]:mm:ss"},
    {47, "mm:ss.0"},
    {48, "##0.0E+0"},
    {49, "@"},
}};

} // namespace

TFormatStrings::TFormatStrings()
{
    m_entries.reserve(kBuiltIns.size());
    for (const BuiltIn &builtIn : kBuiltIns)
        m_entries.push_back({builtIn.fileIndex, QString::fromLatin1(builtIn.text)});
}

const TFormatStrings::Entry &TFormatStrings::entry(int position) const
{
    if (position < 0 || position >= Count())
        throw ERangeError::listIndex(position);
    return m_entries[static_cast<std::size_t>(position)];
}

std::uint16_t TFormatStrings::FileIndex(int position) const
{
    return entry(position).fileIndex;
}

const QString &TFormatStrings::Text(int position) const
{
    return entry(position).text;
}

int TFormatStrings::IndexOf(const QString &text) const
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry &e) { return e.text == text; });
    return found == m_entries.end() ? -1 : static_cast<int>(found - m_entries.begin());
}

int TFormatStrings::Add(const QString &text)
{
    // The file holds a number format in at most 255 characters.
    if (text.isEmpty() || text.size() > 255)
        throw EXLSError(EXLSError::InvalidCellProperty);
    if (const int existing = IndexOf(text); existing >= 0)
        return existing;
    const auto highest =
        std::max_element(m_entries.begin(), m_entries.end(),
                         [](const Entry &a, const Entry &b) { return a.fileIndex < b.fileIndex; });
    m_entries.push_back({static_cast<std::uint16_t>(highest->fileIndex + 1), text});
    return Count() - 1;
}

} // namespace fb::xls
