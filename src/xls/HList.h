#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

namespace fb::xls {

// An append-only list of byte strings with a hash index, so that looking a string up costs
// constant time however long the list grows. The strings are kept back to back in one
// buffer: a table of hundreds of thousands of short texts then costs two small integers
// per entry instead of a heap block each. Indices never change once given out.
class THashedStringList {
public:
    // initialBuckets is a sizing hint; the index grows as entries are added.
    explicit THashedStringList(int initialBuckets = 1024);

    int Count() const noexcept { return static_cast<int>(m_offsets.size()) - 1; }
    QByteArrayView Item(int index) const;

    // The index of an equal string, or -1.
    int IndexOf(QByteArrayView bytes) const;
    // The index of an equal string, appending the string first when there is none.
    // inserted tells which of the two happened.
    int Intern(QByteArrayView bytes, bool *inserted = nullptr);
    // The same with the string's Hash() computed beforehand.
    int Intern(QByteArrayView bytes, std::uint32_t hash, bool *inserted = nullptr);

    static std::uint32_t Hash(QByteArrayView bytes);
    // Starts loading the part of the index a string with this hash is looked up in. Interning
    // many strings, a caller that hashes a batch first and prefetches each lets the memory
    // fetches overlap instead of waiting for one after the other.
    void Prefetch(std::uint32_t hash) const noexcept
    {
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
    }

    // Makes room for `count` entries of `bytes` bytes in total, so that filling the list up
    // to it neither rebuilds the index nor moves the strings.
    void Reserve(int count, qsizetype bytes = 0);

    // Total size of all strings in bytes.
    qsizetype TotalSize() const noexcept { return qsizetype(m_data.size()); }

private:
    // A slot keeps the entry's hash next to its index, so most mismatches are settled
    // without touching the strings.
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t index = -1; // -1: free
    };

    std::size_t findSlot(QByteArrayView bytes, std::uint32_t hash) const;
    void grow();
    void rehash(std::size_t size);

    std::vector<char> m_data;
    std::vector<std::size_t> m_offsets{0};
    std::vector<Slot> m_slots; // size is a power of 2
};

} // namespace fb::xls
