#include "XLSCells.h"

#include "XLSError.h"
#include "XLSFormatStr.h"
#include "XLSSheet.h"

namespace fb::xls {
namespace {

constexpr qsizetype kMaxTextLength = 65535;

bool isAcceptedKind(VarType kind)
{
    switch (kind) {
    case VarType::SmallInt:
    case VarType::Integer:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
    case VarType::OleStr:
    case VarType::Boolean:
    case VarType::ShortInt:
    case VarType::Byte:
    case VarType::Word:
    case VarType::LongWord:
    case VarType::Int64:
    case VarType::String:
        return true;
    default:
        return false;
    }
}

} // namespace

void TCell::SetValue(const CellValue &value)
{
    if (!isAcceptedKind(value.kind()))
        throw EXLSError(EXLSError::InvalidCellValue);
    if (value.isText() && value.textLength() > kMaxTextLength)
        throw EXLSError(EXLSError::InvalidCellValue);

    if (value.kind() == VarType::Date && m_value.kind() != VarType::Date) {
        const TXFRecord xf = XF();
        if (xf.formatIndex == TFormatStrings::kGeneral) {
            TXFRecord dated = xf;
            dated.formatIndex = TFormatStrings::kDate;
            changeXF(dated);
        }
    }
    if (!(value == m_value))
        m_value = value;
    m_owner->Changed(*this);
}

TCells::TCells(TSheet *sheet) : m_sheet(sheet) {}

TCell &TCells::Item(int index)
{
    if (index < 0 || index >= m_count)
        throw ERangeError::listIndex(index);
    return m_cells[static_cast<std::size_t>(index)];
}

const TCell &TCells::Item(int index) const
{
    if (index < 0 || index >= m_count)
        throw ERangeError::listIndex(index);
    return m_cells[static_cast<std::size_t>(index)];
}

const TCell *TCells::Find(std::uint16_t row, std::uint16_t col) const
{
    const int found = m_index.Find(key(row, col));
    return found < 0 ? nullptr : &m_cells[static_cast<std::size_t>(found)];
}

TCell &TCells::Cell(std::uint16_t row, std::uint16_t col)
{
    if (col > 255)
        throw EXLSError(EXLSError::InvalidRowOrColumn);
    if (const int found = m_index.Find(key(row, col)); found >= 0)
        return m_cells[static_cast<std::size_t>(found)];

    if (m_cells.size() > static_cast<std::size_t>(m_count)) {
        TCell &pending = m_cells.back();
        if (pending.Row() == row && pending.Col() == col)
            return pending;
        m_cells.pop_back();
    }
    return m_cells.emplace_back(this, m_sheet->Workbook(), row, col, m_sheet->DefaultXF(row, col));
}

void TCells::Changed(TCell &cell)
{
    // Only the pending cell, the last element, is not listed yet.
    if (m_cells.size() > static_cast<std::size_t>(m_count) && &m_cells.back() == &cell) {
        m_index.Insert(key(cell.Row(), cell.Col()), m_count);
        ++m_count;
    }
}

} // namespace fb::xls
