#include "row_table.h"

namespace fb {

void RowTable::append(Row row)
{
    insert(m_rows.size(), std::move(row));
}

void RowTable::insert(qsizetype position, Row row)
{
    Q_ASSERT(position >= 0 && position <= m_rows.size());
    Q_ASSERT(!signalsDeferred() || m_updateKind == BulkKind::Reset);
    if (!signalsDeferred())
        Q_EMIT rowsAboutToBeInserted(position, position);
    m_rows.insert(position, std::move(row));
    if (!signalsDeferred())
        Q_EMIT rowsInserted();
}

void RowTable::remove(qsizetype index)
{
    Q_ASSERT(index >= 0 && index < m_rows.size());
    Q_ASSERT(!signalsDeferred() || m_updateKind == BulkKind::Reset);
    if (!signalsDeferred())
        Q_EMIT rowsAboutToBeRemoved(index, index);
    m_rows.remove(index);
    if (!signalsDeferred())
        Q_EMIT rowsRemoved();
}

void RowTable::replace(qsizetype index, Row row)
{
    m_rows[index] = std::move(row);
    if (!signalsDeferred())
        Q_EMIT rowsChanged(index, index);
}

void RowTable::clear()
{
    Q_ASSERT(!signalsDeferred() || m_updateKind == BulkKind::Reset);
    if (!signalsDeferred())
        Q_EMIT aboutToBeReset();
    m_rows.clear();
    if (!signalsDeferred())
        Q_EMIT wasReset();
}

void RowTable::assign(QList<Row> rows)
{
    Q_ASSERT(!signalsDeferred() || m_updateKind == BulkKind::Reset);
    if (!signalsDeferred())
        Q_EMIT aboutToBeReset();
    m_rows = std::move(rows);
    if (!signalsDeferred())
        Q_EMIT wasReset();
}

Row &RowTable::rowForUpdate(qsizetype index)
{
    Q_ASSERT(signalsDeferred());
    return m_rows[index];
}

Row &RowTable::appendForUpdate()
{
    Q_ASSERT(signalsDeferred() && m_updateKind == BulkKind::Reset);
    m_rows.emplaceBack();
    return m_rows.last();
}

void RowTable::beginUpdate(BulkKind kind)
{
    if (m_updateDepth++ > 0) {
        // A nested reset inside a rewrite would change rows the view was not told about.
        Q_ASSERT(kind == BulkKind::RewriteRows || m_updateKind == BulkKind::Reset);
        return;
    }
    m_updateKind = kind;
    if (kind == BulkKind::Reset)
        Q_EMIT aboutToBeReset();
}

void RowTable::endUpdate()
{
    Q_ASSERT(m_updateDepth > 0);
    if (--m_updateDepth > 0)
        return;
    if (m_updateKind == BulkKind::Reset)
        Q_EMIT wasReset();
    else if (!m_rows.isEmpty())
        Q_EMIT rowsChanged(0, m_rows.size() - 1);
}

} // namespace fb
