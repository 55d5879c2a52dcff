#include "HList.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace fb::xls {
namespace {

std::size_t roundUpToPowerOfTwo(std::size_t n)
{
    std::size_t size = 16;
    while (size < n)
        size *= 2;
    return size;
}

std::uint64_t mix(std::uint64_t h, std::uint64_t word)
{
    word *= 0x87C37B91114253D5ull;
    word = std::rotl(word, 31);
    word *= 0x4CF5AD432745937Full;
    h ^= word;
    return std::rotl(h, 27) * 5 + 0x52DCE729;
}

std::uint32_t finish(std::uint64_t h, qsizetype length)
{
    h ^= std::uint64_t(length);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return static_cast<std::uint32_t>(h);
}

// A fast non-cryptographic hash in the manner of MurmurHash3, eight bytes per step. The
// lists index texts and records of the program's own workbook, never hostile input.
} // namespace

std::uint32_t THashedStringList::Hash(QByteArrayView bytes)
{
    std::uint64_t h = 0;
    const char *p = bytes.data();
    qsizetype n = bytes.size();
    for (; n >= 8; n -= 8, p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        h = mix(h, word);
    }
    if (n > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, static_cast<std::size_t>(n));
        h = mix(h, word);
    }
    return finish(h, bytes.size());
}

std::optional<std::uint32_t> THashedStringList::HashLatin1(QStringView units)
{
    std::uint64_t h = 0;
    char16_t seen = 0;
    const char16_t *p = units.utf16();
    qsizetype n = units.size();
    // The words are built as Hash() reads the bytes, in the machine's byte order.
    constexpr auto shift = [](qsizetype i) {
        return std::endian::native == std::endian::little ? 8 * i : 8 * (7 - i);
    };
    for (; n >= 8; n -= 8, p += 8) {
        std::uint64_t word = 0;
        for (int i = 0; i < 8; ++i) {
            seen |= p[i];
            word |= std::uint64_t(p[i] & 0xFF) << shift(i);
        }
        h = mix(h, word);
    }
    if (n > 0) {
        std::uint64_t word = 0;
        for (qsizetype i = 0; i < n; ++i) {
            seen |= p[i];
            word |= std::uint64_t(p[i] & 0xFF) << shift(i);
        }
        h = mix(h, word);
    }
    if (seen > 0xFF)
        return std::nullopt;
    return finish(h, units.size());
}

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

int THashedStringList::Intern(QByteArrayView bytes, bool *inserted)
{
    const std::uint32_t hash = Hash(bytes);
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
