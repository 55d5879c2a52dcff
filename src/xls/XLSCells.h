#pragma once

#include "CellIndex.h"
#include "CellValue.h"
#include "XLSItem.h"

#include <cstdint>
#include <deque>

namespace fb::xls {

class TCells;
class TSheet;

class TCell final : public TCustomXLSItem {
public:
    TCell(TCells *owner, TWorkbook *workbook, std::uint16_t row, std::uint16_t col, int xfIndex)
        : TCustomXLSItem(workbook, xfIndex), m_owner(owner), m_row(row), m_col(col)
    {}

    std::uint16_t Row() const noexcept { return m_row; }
    std::uint16_t Col() const noexcept { return m_col; }

    const CellValue &Value() const noexcept { return m_value; }
    // Stores a value. Refuses kinds a cell cannot hold and texts longer than 65535
    // characters with error 3, leaving the cell as it was. The first date given to a cell
    // in the "General" format switches it to a date format.
    void SetValue(const CellValue &value);

private:
    TCells *m_owner;
    std::uint16_t m_row;
    std::uint16_t m_col;
    CellValue m_value;
};

// The cells of one sheet that have been given a value, in the order in which each first got
// one, with a hash index on (row, column). A lookup of a missing cell creates a pending cell
// that joins the list only when it is given a value; a later lookup of another missing cell
// replaces it.
class TCells {
public:
    explicit TCells(TSheet *sheet);

    TCells(const TCells &) = delete;
    TCells &operator=(const TCells &) = delete;

    int Count() const noexcept { return m_count; }
    TCell &Item(int index);
    const TCell &Item(int index) const;

    // The cell at (row, col), created as the pending cell when missing. Columns above 255
    // raise error 5. A reference to a pending cell stays valid until the next lookup of
    // another missing cell.
    TCell &Cell(std::uint16_t row, std::uint16_t col);
    // The listed cell at (row, col), or nullptr; never creates one.
    const TCell *Find(std::uint16_t row, std::uint16_t col) const;

    // A cell got a value: a cell not yet listed is appended.
    void Changed(TCell &cell);

    // Iteration over the listed cells in list order.
    auto begin() const { return m_cells.cbegin(); }
    auto end() const { return m_cells.cbegin() + m_count; }

private:
    static std::uint32_t key(std::uint16_t row, std::uint16_t col)
    {
        return std::uint32_t(row) | (std::uint32_t(col) << 16);
    }

    TSheet *m_sheet;
    // Listed cells first; when a pending cell exists it is the last element. A deque keeps
    // every cell at its address while the list grows.
    std::deque<TCell> m_cells;
    int m_count = 0;
    CellIndex m_index;
};

} // namespace fb::xls
