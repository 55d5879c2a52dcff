#pragma once

#include "HList.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace fb::xls {

class BiffStream;
class TCell;
class TWorkbook;

// The shared string table of one save: every distinct cell text once, in order of first
// occurrence, in the file's unicode string form, and for every sheet the table index of each
// of its cells (0 for cells without text).
class TSharedStrings {
public:
    explicit TSharedStrings(const TWorkbook &workbook);

    int Count() const noexcept { return m_entries.Count(); }
    QByteArrayView Entry(int index) const { return m_entries.Item(index); }
    // Indices of the cells of a sheet, in the sheet's cell order.
    const std::vector<std::uint32_t> &SheetIndices(int sheet) const
    {
        return m_sheetIndices[static_cast<std::size_t>(sheet)];
    }

    // The SST record and the CONTINUE records it spills into.
    void Write(BiffStream &out) const;

    // Appends the unicode string form of a text cell to `out`: character count, option byte
    // (0x00 for 8-bit characters, 0x01 for UTF-16) and the characters.
    static void AppendEntry(const TCell &cell, std::vector<char> &out);

private:
    THashedStringList m_entries{4095};
    std::vector<std::vector<std::uint32_t>> m_sheetIndices;
};

} // namespace fb::xls
