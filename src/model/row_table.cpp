#include "row_table.h"

#include "trip_placement.h"

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
    touch(position);
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
    touch(index);
    m_rows.remove(index);
    if (!signalsDeferred())
        Q_EMIT rowsRemoved();
}

void RowTable::replace(qsizetype index, Row row)
{
    touch(index);
    m_rows[index] = std::move(row);
    if (!signalsDeferred())
        Q_EMIT rowsChanged(index, index);
}

void RowTable::clear()
{
    Q_ASSERT(!signalsDeferred() || m_updateKind == BulkKind::Reset);
    if (!signalsDeferred())
        Q_EMIT aboutToBeReset();
    touch(0);
    m_rows.clear();
    if (!signalsDeferred())
        Q_EMIT wasReset();
}

void RowTable::assign(QList<Row> rows)
{
    Q_ASSERT(!signalsDeferred() || m_updateKind == BulkKind::Reset);
    if (!signalsDeferred())
        Q_EMIT aboutToBeReset();
    touch(0);
    m_rows = std::move(rows);
    if (!signalsDeferred())
        Q_EMIT wasReset();
}

QList<Row> RowTable::takeRows()
{
    // A shared copy: once the table lets go of the rows, the copy is their only holder.
    QList<Row> taken = m_rows;
    assign({});
    return taken;
}

Row &RowTable::rowForUpdate(qsizetype index)
{
    Q_ASSERT(signalsDeferred());
    touch(index);
    if (m_rewrittenLast < m_rewrittenFirst) {
        m_rewrittenFirst = m_rewrittenLast = index;
    } else {
        m_rewrittenFirst = std::min(m_rewrittenFirst, index);
        m_rewrittenLast = std::max(m_rewrittenLast, index);
    }
    return m_rows[index];
}

Row &RowTable::appendForUpdate()
{
    Q_ASSERT(signalsDeferred() && m_updateKind == BulkKind::Reset);
    touch(m_rows.size());
    m_rows.emplaceBack();
    return m_rows.last();
}

std::optional<qint64> RowTable::departureKeyAt(qsizetype index) const
{
    if (index >= m_departureKeysRead) {
        m_departureKeys.resize(std::size_t(m_rows.size()));
        for (qsizetype row = m_departureKeysRead; row < m_rows.size(); ++row)
            m_departureKeys[std::size_t(row)] = departureKey(m_rows.at(row).caption);
        m_departureKeysRead = m_rows.size();
    }
    return m_departureKeys[std::size_t(index)];
}

void RowTable::beginUpdate(BulkKind kind)
{
    if (m_updateDepth++ > 0) {
        // A nested reset inside a rewrite would change rows the view was not told about.
        Q_ASSERT(kind == BulkKind::RewriteRows || m_updateKind == BulkKind::Reset);
        return;
    }
    m_updateKind = kind;
    m_rewrittenFirst = 0;
    m_rewrittenLast = -1;
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
    else if (m_rewrittenFirst <= m_rewrittenLast)
        Q_EMIT rowsChanged(m_rewrittenFirst, m_rewrittenLast);
}

} // namespace fb
