#include "HList.h"

#include <QHashFunctions>

#include <algorithm>

namespace fb::xls {
namespace {

std::size_t roundUpToPowerOfTwo(std::size_t n)
{
    std::size_t size = 16;
    while (size < n)
        size *= 2;
    return size;
}

std::uint32_t hashOf(QByteArrayView bytes)
{
    return static_cast<std::uint32_t>(qHash(bytes));
}

} // namespace

THashedStringList::THashedStringList(int initialBuckets)
    : m_slots(roundUpToPowerOfTwo(static_cast<std::size_t>(std::max(initialBuckets, 1)) * 2))
{}

QByteArrayView THashedStringList::Item(int index) const
{
    const auto i = static_cast<std::size_t>(index);
    return QByteArrayView(m_data.data() + m_offsets[i], qsizetype(m_offsets[i + 1] - m_offsets[i]));
}

std::size_t THashedStringList::findSlot(QByteArrayView bytes, std::uint32_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    for (;;) {
        const Slot &s = m_slots[slot];
        if (s.index < 0 || (s.hash == hash && Item(s.index) == bytes))
            return slot;
        slot = (slot + 1) & mask;
    }
}

int THashedStringList::IndexOf(QByteArrayView bytes) const
{
    return m_slots[findSlot(bytes, hashOf(bytes))].index;
}

int THashedStringList::Intern(QByteArrayView bytes, bool *inserted)
{
    const std::uint32_t hash = hashOf(bytes);
    Slot &slot = m_slots[findSlot(bytes, hash)];
    if (slot.index >= 0) {
        if (inserted)
            *inserted = false;
        return slot.index;
    }
    const int index = Count();
    m_data.insert(m_data.end(), bytes.begin(), bytes.end());
    m_offsets.push_back(m_data.size());
    slot = {hash, index};
    // Keep the table at most half full so probe runs stay short.
    if (m_offsets.size() * 2 > m_slots.size())
        grow();
    if (inserted)
        *inserted = true;
    return index;
}

void THashedStringList::grow()
{
    std::vector<Slot> slots(m_slots.size() * 2);
    const std::size_t mask = slots.size() - 1;
    for (const Slot &s : m_slots) {
        if (s.index < 0)
            continue;
        std::size_t slot = s.hash & mask;
        while (slots[slot].index >= 0)
            slot = (slot + 1) & mask;
        slots[slot] = s;
    }
    m_slots = std::move(slots);
}

} // namespace fb::xls
