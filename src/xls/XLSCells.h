#pragma once

#include "CellIndex.h"
#include "CellValue.h"
#include "ChunkedList.h"
#include "TextArena.h"
#include "XLSItem.h"

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>

namespace fb::xls {

class TCells;
class TSheet;

// A cell of a sheet. Its value is kept in a compact form, texts in the sheet's text arena;
// Value() rebuilds the CellValue, the other accessors read it without copying.
class TCell final : public TCustomXLSItem {
public:
    TCell(TCells *owner, std::uint16_t row, std::uint16_t col, int xfIndex)
        : TCustomXLSItem(xfIndex), m_owner(owner), m_row(row), m_col(col)
    {}

    std::uint16_t Row() const noexcept { return m_row; }
    std::uint16_t Col() const noexcept { return m_col; }

    CellValue Value() const;
    // Stores a value. Refuses kinds a cell cannot hold and texts longer than 65535
    // characters with error 3, leaving the cell as it was. The first date given to a cell
    // in the "General" format switches it to a date format.
    void SetValue(const CellValue &value);
    // Stores a text as 8-bit text when Windows-1252 holds every character, as wide text
    // otherwise: the same as SetValue(CellValue::fromText(text)), converting straight into
    // the sheet's storage without a temporary copy.
    void SetText(QStringView text);
    // The same as SetText, but the cell refers to the caller's characters instead of copying
    // them: they must stay unchanged as long as the cell holds them. An export of a large
    // logbook keeps its texts where the loaded logbook has them.
    void ReferText(QStringView text);

    VarType Kind() const noexcept { return m_kind; }
    bool IsText() const noexcept { return m_kind == VarType::String || m_kind == VarType::OleStr; }
    // The bytes of an 8-bit text (Windows-1252); empty for other kinds. An 8-bit text the cell
    // refers to (ReferText) is encoded into `scratch`, which the view then shows.
    QByteArrayView AnsiText(QByteArray &scratch) const;
    // The units of a wide text; empty for other kinds.
    QStringView WideText() const noexcept;
    // The UTF-16 units of an 8-bit text the cell refers to (ReferText); empty for other
    // texts. They are its 8-bit bytes as well where every unit is below U+0100.
    QStringView ReferredUnits() const noexcept
    {
        return m_referred ? QStringView(reinterpret_cast<const char16_t *>(m_payload.text),
                                        qsizetype(m_textLength))
                          : QStringView();
    }
    // Numbers, currency and dates (days since 1899-12-30) as a double.
    double Number() const noexcept;
    bool Boolean() const noexcept { return m_kind == VarType::Boolean && m_payload.boolean; }

protected:
    TWorkbook *workbook() const noexcept override;

private:
    bool holds(const CellValue &value) const;
    void storeText(VarType kind, const char *bytes, std::uint32_t length);

    // Ordered to fill the base class's padding: 40 bytes a cell.
    std::uint32_t m_textLength = 0; // in characters
    TCells *m_owner;
    union Payload {
        double number;
        qint64 integer;
        bool boolean;
        const char *text;
    } m_payload{.integer = 0};
    std::uint16_t m_row;
    std::uint16_t m_col;
    VarType m_kind = VarType::Empty;
    // The text is the caller's (ReferText), not the arena's: its UTF-16 units, for an 8-bit
    // text too.
    bool m_referred = false;
};

// The cells of one sheet that have been given a value, in the order in which each first got
// one. As long as they came row by row, column by column, as a large sheet is filled, a cell
// is found in that order; from the first that came out of it on, through a hash index on
// (row, column), which for a million cells is as large as the cells' texts.
// A lookup of a missing cell creates a pending cell
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

    TWorkbook *Workbook() const noexcept;
    TextArena &Texts() noexcept { return m_texts; }

    // Iteration over the listed cells in list order.
    auto begin() const { return m_cells.iteratorAt(0); }
    auto end() const { return m_cells.iteratorAt(static_cast<std::size_t>(m_count)); }

private:
    static std::uint32_t key(std::uint16_t row, std::uint16_t col)
    {
        return std::uint32_t(row) | (std::uint32_t(col) << 16);
    }
    // Ascends row by row, column by column.
    static std::uint32_t orderKey(std::uint16_t row, std::uint16_t col)
    {
        return (std::uint32_t(row) << 16) | col;
    }
    // The position of the listed cell at (row, col), or -1.
    int findListed(std::uint16_t row, std::uint16_t col) const;
    void buildIndex() const;

    TSheet *m_sheet;
    TextArena m_texts;
    // Listed cells first; when a pending cell exists it is the last element.
    ChunkedList<TCell> m_cells;
    int m_count = 0;
    // Whether the listed cells ascend by orderKey, the last one's key.
    bool m_inOrder = true;
    std::uint32_t m_lastOrderKey = 0;
    // Built by the first lookup that needs it; mutable for Find.
    mutable CellIndex m_index;
    mutable bool m_indexBuilt = false;
};

} // namespace fb::xls
