#pragma once

#include <cstdint>
#include <vector>

namespace fb::xls {

// Maps a cell's 32-bit key (row in the low half, column in the high half) to its position
// in the cell list. Open addressing with key and position packed into one word; the table
// grows with the list, so a lookup costs constant time however many cells a sheet holds.
// Only the row is hashed and the cells of a row sit side by side, so filling a sheet row by
// row touches one part of the table per row instead of one per cell.
class CellIndex {
public:
    CellIndex();

    // The position stored for key, or -1.
    int Find(std::uint32_t key) const noexcept;
    // Stores a position for a key that is not yet in the index.
    void Insert(std::uint32_t key, int position);
    // Starts loading the part of the table that holds the cells of a row, so that a caller
    // filling a sheet row by row finds the next row's part in the cache.
    void PrefetchRow(std::uint16_t row) const noexcept
    {
        __builtin_prefetch(m_slots.data() + home(row));
    }
    // Makes room for `count` keys, so that inserting up to that many never rebuilds the table.
    void Reserve(std::size_t count);

private:
    std::size_t home(std::uint32_t key) const noexcept
    {
        const std::uint64_t row = key & 0xFFFF;
        const std::uint64_t col = key >> 16;
        // The mask is a member of its own: derived from the vector's size, GCC 12 drops the
        // prefetch of PrefetchRow.
        return static_cast<std::size_t>(((row * 0x9E3779B97F4A7C15ull) >> m_shift) + col) & m_mask;
    }
    void grow() { rehash(m_slots.size() * 2); }
    void rehash(std::size_t size);

    static constexpr std::uint64_t kFree = ~std::uint64_t(0);

    std::vector<std::uint64_t> m_slots; // key in the high half, position in the low half
    std::size_t m_mask;                 // m_slots.size() - 1
    int m_shift;
    std::size_t m_count = 0;
};

} // namespace fb::xls
