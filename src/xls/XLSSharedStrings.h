#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

namespace fb::xls {

class BiffStream;
class TCell;
class TWorkbook;

// The shared string table of one save: every distinct cell text once, in order of first
// occurrence, and for every sheet the table index of each of its cells (0 for cells without
// text). An entry refers to the cell that first had its text; the workbook must not change
// while the table is in use.
class TSharedStrings {
public:
    explicit TSharedStrings(const TWorkbook &workbook);

    int Count() const noexcept { return static_cast<int>(m_entries.size()); }
    // Indices of the cells of a sheet, in the sheet's cell order.
    const std::vector<std::uint32_t> &SheetIndices(int sheet) const
    {
        return m_sheetIndices[static_cast<std::size_t>(sheet)];
    }

    // The SST record and the CONTINUE records it spills into.
    void Write(BiffStream &out) const;

    // Appends the unicode string form of a text cell to `out`: character count, option byte
    // (0x00 for 8-bit characters, 0x01 for UTF-16) and the characters. An 8-bit text the cell
    // refers to is encoded into scratch on the way unless every unit is below U+0100.
    static void AppendEntry(const TCell &cell, std::vector<char> &out, QByteArray &scratch);

private:
    // Open addressing on the text's hash; entry -1 marks a free slot.
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t entry = -1;
    };

    // The index of the entry with the text of `cell`, which is added when there is none.
    std::uint32_t intern(const TCell &cell, std::uint32_t hash);
    void prefetch(std::uint32_t hash) const noexcept
    {
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
    }

    std::vector<const TCell *> m_entries;
    std::vector<Slot> m_slots; // size is a power of 2, at most three quarters used
    std::vector<std::vector<std::uint32_t>> m_sheetIndices;
    // Room for 8-bit texts that cells refer to as UTF-16, encoded to be hashed and compared.
    QByteArray m_scratch;
    QByteArray m_firstScratch;
};

} // namespace fb::xls
