#pragma once

#include "HList.h"

#include <QByteArray>

#include <vector>

namespace fb::xls {

// A table of fixed-size binary records shared by many cells. Interning a record hands out
// the index of an identical entry, or appends it, and counts the reference. Entries are
// never removed or reordered, so an index stays valid for the table's life; entries no
// longer referenced are still written to the file.
class TVirtualDataTable {
public:
    explicit TVirtualDataTable(int recordSize);
    virtual ~TVirtualDataTable() = default;

    TVirtualDataTable(const TVirtualDataTable &) = delete;
    TVirtualDataTable &operator=(const TVirtualDataTable &) = delete;

    int Count() const noexcept { return m_records.Count(); }
    int RecordSize() const noexcept { return m_recordSize; }

    // Index of an identical record (appended when new); its reference count goes up by one.
    int Intern(QByteArrayView record);
    // Lowers the reference count of an entry, never below 0.
    void Release(int index);
    int RefCount(int index) const;

    QByteArrayView Record(int index) const;

private:
    int m_recordSize;
    THashedStringList m_records{1024};
    std::vector<int> m_refCounts;
};

} // namespace fb::xls
