#include "CellIndex.h"

#include <bit>

namespace fb::xls {
namespace {

constexpr int kInitialBits = 14;

} // namespace

CellIndex::CellIndex()
    : m_slots(std::size_t(1) << kInitialBits, kFree), m_mask(m_slots.size() - 1),
      m_shift(64 - kInitialBits)
{}

int CellIndex::Find(std::uint32_t key) const noexcept
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = home(key);; slot = (slot + 1) & mask) {
        const std::uint64_t entry = m_slots[slot];
        if (entry == kFree)
            return -1;
        if (std::uint32_t(entry >> 32) == key)
            return static_cast<int>(std::uint32_t(entry));
    }
}

void CellIndex::Insert(std::uint32_t key, int position)
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = home(key);
    while (m_slots[slot] != kFree)
        slot = (slot + 1) & mask;
    m_slots[slot] = (std::uint64_t(key) << 32) | std::uint32_t(position);
    if (++m_count * 2 > m_slots.size())
        grow();
}

void CellIndex::Reserve(std::size_t count)
{
    // The table is kept at most half full.
    const std::size_t size = std::bit_ceil(count * 2);
    if (size > m_slots.size())
        rehash(size);
}

void CellIndex::rehash(std::size_t size)
{
    std::vector<std::uint64_t> old(size, kFree);
    old.swap(m_slots);
    m_mask = size - 1;
    m_shift = 64 - std::countr_zero(size);
    const std::size_t mask = m_mask;
    for (const std::uint64_t entry : old) {
        if (entry == kFree)
            continue;
        std::size_t slot = home(std::uint32_t(entry >> 32));
        while (m_slots[slot] != kFree)
            slot = (slot + 1) & mask;
        m_slots[slot] = entry;
    }
}

} // namespace fb::xls
