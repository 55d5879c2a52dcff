#include "HList.h"

#include <QHashFunctions>

namespace fb::xls {
namespace {

std::size_t roundUpToPowerOfTwo(std::size_t n)
{
    std::size_t size = 16;
    while (size < n)
        size *= 2;
    return size;
}

} // namespace

THashedStringList::THashedStringList(int initialBuckets)
    : m_slots(roundUpToPowerOfTwo(static_cast<std::size_t>(std::max(initialBuckets, 1)) * 2), -1)
{}

QByteArrayView THashedStringList::Item(int index) const
{
    const auto i = static_cast<std::size_t>(index);
    return QByteArrayView(m_data.constData() + m_offsets[i], m_offsets[i + 1] - m_offsets[i]);
}

std::size_t THashedStringList::findSlot(QByteArrayView bytes, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    for (;;) {
        const std::int32_t entry = m_slots[slot];
        if (entry < 0)
            return slot;
        if (m_hashes[static_cast<std::size_t>(entry)] == hash && Item(entry) == bytes)
            return slot;
        slot = (slot + 1) & mask;
    }
}

int THashedStringList::IndexOf(QByteArrayView bytes) const
{
    return m_slots[findSlot(bytes, qHash(bytes))];
}

int THashedStringList::Intern(QByteArrayView bytes, bool *inserted)
{
    const std::size_t hash = qHash(bytes);
    std::size_t slot = findSlot(bytes, hash);
    if (m_slots[slot] >= 0) {
        if (inserted)
            *inserted = false;
        return m_slots[slot];
    }
    const int index = Count();
    m_data.append(bytes);
    m_offsets.push_back(m_data.size());
    m_hashes.push_back(hash);
    m_slots[slot] = index;
    // Keep the table at most half full so probe runs stay short.
    if (m_hashes.size() * 2 > m_slots.size())
        grow();
    if (inserted)
        *inserted = true;
    return index;
}

void THashedStringList::grow()
{
    std::vector<std::int32_t> slots(m_slots.size() * 2, -1);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t entry = 0; entry < m_hashes.size(); ++entry) {
        std::size_t slot = m_hashes[entry] & mask;
        while (slots[slot] >= 0)
            slot = (slot + 1) & mask;
        slots[slot] = static_cast<std::int32_t>(entry);
    }
    m_slots = std::move(slots);
}

} // namespace fb::xls
