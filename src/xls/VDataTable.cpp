#include "VDataTable.h"

#include "XLSError.h"

namespace fb::xls {

TVirtualDataTable::TVirtualDataTable(int recordSize) : m_recordSize(recordSize) {}

int TVirtualDataTable::Intern(QByteArrayView record)
{
    Q_ASSERT(record.size() == m_recordSize);
    bool inserted = false;
    const int index = m_records.Intern(record, &inserted);
    if (inserted)
        m_refCounts.push_back(0);
    ++m_refCounts[static_cast<std::size_t>(index)];
    return index;
}

void TVirtualDataTable::Release(int index)
{
    if (index < 0 || index >= Count())
        throw ERangeError::listIndex(index);
    int &count = m_refCounts[static_cast<std::size_t>(index)];
    if (count > 0)
        --count;
}

int TVirtualDataTable::RefCount(int index) const
{
    if (index < 0 || index >= Count())
        throw ERangeError::listIndex(index);
    return m_refCounts[static_cast<std::size_t>(index)];
}

QByteArrayView TVirtualDataTable::Record(int index) const
{
    if (index < 0 || index >= Count())
        throw ERangeError::listIndex(index);
    return m_records.Item(index);
}

} // namespace fb::xls
