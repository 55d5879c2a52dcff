#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace fb::xls {

// An append-only list of byte strings with a hash index, so that looking a string up costs
// constant time however long the list grows. It holds the records of the attribute tables
// (fonts, cell formats), which many cells share. The strings are kept back to back in one
// buffer. Indices never change once given out.
class THashedStringList {
public:
    // initialBuckets is a sizing hint; the index grows as entries are added.
    explicit THashedStringList(int initialBuckets = 1024);

    int Count() const noexcept { return static_cast<int>(m_offsets.size()) - 1; }
    QByteArrayView Item(int index) const;

    // The index of an equal string, appending the string first when there is none.
    // inserted tells which of the two happened.
    int Intern(QByteArrayView bytes, bool *inserted = nullptr);

    static std::uint32_t Hash(QByteArrayView bytes);
    // Hash() of the bytes that UTF-16 units below U+0100 narrow to, without narrowing them
    // first; nothing when a unit is U+0100 or above.
    static std::optional<std::uint32_t> HashLatin1(QStringView units);

private:
    // A slot keeps the entry's hash next to its index, so most mismatches are settled
    // without touching the strings.
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t index = -1; // -1: free
    };

    std::size_t findSlot(QByteArrayView bytes, std::uint32_t hash) const;
    void grow();

    std::vector<char> m_data;
    std::vector<std::size_t> m_offsets{0};
    std::vector<Slot> m_slots; // size is a power of 2
};

} // namespace fb::xls
