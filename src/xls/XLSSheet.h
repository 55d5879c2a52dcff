#pragma once

#include "XLSCells.h"
#include "XLSItem.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace fb::xls {

class TWorkbook;

// How a sheet is printed.
struct TPageSetup {
    std::uint16_t paperSize = 0; // printer default
    bool fitToPages = false;     // false: scale by `scale`
    std::uint16_t scale = 100;
    std::uint16_t fitWidth = 1;
    std::uint16_t fitHeight = 1;
    std::uint16_t firstPageNumber = 0xFFFF; // automatic
    bool overThenDown = false;              // print order; false: down, then over
    bool portrait = true;
    double headerMargin = 0.5; // inches
    double footerMargin = 0.5;
    double topMargin = 1.0;
    double bottomMargin = 1.0;
    double leftMargin = 0.8;
    double rightMargin = 0.8;
    bool blackAndWhite = false;
    bool draft = false;
    bool printGridLines = false;
    bool printHeadings = false;
    bool centerHorizontally = false;
    bool centerVertically = false;
    QString headerLeft, headerCenter, headerRight;
    QString footerLeft, footerCenter, footerRight;
};

// What the sheet's window shows.
struct TSheetView {
    bool showGridLines = true;
    bool showHeaders = true;
    bool showZeros = true;
    std::uint16_t frozenRows = 0;
    std::uint8_t frozenCols = 0;
    std::uint8_t zoom = 100; // percent
    bool pageBreakPreview = false;
};

// Rows or columns that carry a size or a format, created on first use.
template<typename Item> class TRowColList {
public:
    explicit TRowColList(TWorkbook *workbook) : m_workbook(workbook) {}

    Item &operator[](std::uint16_t index)
    {
        auto &slot = m_items[index];
        if (!slot)
            slot = std::make_unique<Item>(m_workbook, index);
        return *slot;
    }
    const Item *Find(std::uint16_t index) const
    {
        const auto found = m_items.find(index);
        return found == m_items.end() ? nullptr : found->second.get();
    }
    int Count() const noexcept { return static_cast<int>(m_items.size()); }

private:
    TWorkbook *m_workbook;
    std::map<std::uint16_t, std::unique_ptr<Item>> m_items;
};

class TSheet {
public:
    TSheet(TWorkbook *workbook, QString name, int index);

    TSheet(const TSheet &) = delete;
    TSheet &operator=(const TSheet &) = delete;

    const QString &Name() const noexcept { return m_name; }
    // Renames the sheet; refuses a name that is invalid or taken by another sheet of the
    // workbook (errors 6 and 7), leaving the name as it was.
    void SetName(const QString &name);

    int Index() const noexcept { return m_index; }
    void SetIndex(int index) noexcept { m_index = index; }

    TWorkbook *Workbook() const noexcept { return m_workbook; }

    TCells &Cells() noexcept { return m_cells; }
    const TCells &Cells() const noexcept { return m_cells; }
    TCell &Cells(std::uint16_t row, std::uint16_t col) { return m_cells.Cell(row, col); }

    TRowColList<TRow> &Rows() noexcept { return m_rows; }
    const TRowColList<TRow> &Rows() const noexcept { return m_rows; }
    TRowColList<TColumn> &Columns() noexcept { return m_columns; }
    const TRowColList<TColumn> &Columns() const noexcept { return m_columns; }

    TPageSetup &PageSetup() noexcept { return m_pageSetup; }
    const TPageSetup &PageSetup() const noexcept { return m_pageSetup; }
    TSheetView &View() noexcept { return m_view; }
    const TSheetView &View() const noexcept { return m_view; }

    // Manual page breaks: a row break starts a new page above the row, a column break left
    // of the column.
    std::vector<std::uint16_t> &RowBreaks() noexcept { return m_rowBreaks; }
    const std::vector<std::uint16_t> &RowBreaks() const noexcept { return m_rowBreaks; }
    std::vector<std::uint16_t> &ColBreaks() noexcept { return m_colBreaks; }
    const std::vector<std::uint16_t> &ColBreaks() const noexcept { return m_colBreaks; }

    std::uint16_t ProtectionHash() const noexcept { return m_protectionHash; }
    void SetProtectionHash(std::uint16_t hash) noexcept { m_protectionHash = hash; }

    // The cell format a new cell at (row, col) starts with: its row's, else its column's,
    // else the default entry.
    int DefaultXF(std::uint16_t row, std::uint16_t col) const;

private:
    TWorkbook *m_workbook;
    QString m_name;
    int m_index;
    TCells m_cells{this};
    TRowColList<TRow> m_rows;
    TRowColList<TColumn> m_columns;
    TPageSetup m_pageSetup;
    TSheetView m_view;
    std::vector<std::uint16_t> m_rowBreaks;
    std::vector<std::uint16_t> m_colBreaks;
    std::uint16_t m_protectionHash = 0;
};

} // namespace fb::xls
