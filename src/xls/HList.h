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

    // Total size of all strings in bytes.
    qsizetype TotalSize() const noexcept { return m_data.size(); }

private:
    std::size_t findSlot(QByteArrayView bytes, std::size_t hash) const;
    void grow();

    QByteArray m_data;
    std::vector<qsizetype> m_offsets{0};
    std::vector<std::size_t> m_hashes;
    std::vector<std::int32_t> m_slots; // entry index, or -1 when free; size is a power of 2
};

} // namespace fb::xls
