#include "XLSWorkbook.h"

#include "XLSError.h"

#include <algorithm>

namespace fb::xls {
namespace {

bool isTrimmedAway(QChar c)
{
    return c.unicode() <= 0x20;
}

bool isBlank(const QString &name)
{
    return std::all_of(name.cbegin(), name.cend(), isTrimmedAway);
}

} // namespace

TSheet &TSheets::operator[](int index)
{
    if (index < 0 || index >= Count())
        throw ERangeError::sheetIndex(index);
    return *m_sheets[static_cast<std::size_t>(index)];
}

const TSheet &TSheets::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw ERangeError::sheetIndex(index);
    return *m_sheets[static_cast<std::size_t>(index)];
}

void TSheets::ValidateName(const QString &name, const TSheet *self) const
{
    if (name.isEmpty() || name.size() > 255)
        throw EXLSError(EXLSError::SheetNameLength);
    if (isBlank(name))
        throw EXLSError(EXLSError::InvalidSheetName);
    for (const auto &sheet : m_sheets) {
        if (sheet.get() != self && sheet->Name() == name)
            throw EXLSError(EXLSError::InvalidSheetName);
    }
}

TSheet &TSheets::Add(const QString &name)
{
    ValidateName(name, nullptr);
    return *m_sheets.emplace_back(std::make_unique<TSheet>(m_workbook, name, Count()));
}

void TSheets::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw ERangeError::sheetIndex(index);
    m_sheets.erase(m_sheets.begin() + index);
    for (int i = index; i < Count(); ++i)
        m_sheets[static_cast<std::size_t>(i)]->SetIndex(i);
}

TWorkbook::TWorkbook()
{
    constexpr int kInitialSheets = 1;
    for (int n = 1; n <= kInitialSheets; ++n)
        m_sheets.Add(QStringLiteral("Sheet%1").arg(n));
}

} // namespace fb::xls
