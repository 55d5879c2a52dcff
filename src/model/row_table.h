#pragma once

#include "row.h"

#include <QList>
#include <QObject>

#include <algorithm>
#include <optional>
#include <vector>

namespace fb {

// A table of rows in entry order (never sorted), with change signals a list view can follow.
// Changes made inside a bulk update are announced once, when the outermost one ends.
class RowTable : public QObject {
    Q_OBJECT
public:
    // What a bulk update may do: replace the rows wholesale, or only rewrite existing rows
    // (which keeps the view's selection).
    enum class BulkKind { Reset, RewriteRows };

    // Opens a bulk update for its lifetime, so it is closed on every way out.
    class BulkUpdate {
    public:
        BulkUpdate(RowTable &table, BulkKind kind) : m_table(table) { m_table.beginUpdate(kind); }
        ~BulkUpdate() { m_table.endUpdate(); }
        BulkUpdate(const BulkUpdate &) = delete;
        BulkUpdate &operator=(const BulkUpdate &) = delete;

    private:
        RowTable &m_table;
    };

    using QObject::QObject;

    qsizetype count() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const Row &at(qsizetype index) const { return m_rows.at(index); }
    const QList<Row> &rows() const { return m_rows; }

    void append(Row row);
    void insert(qsizetype position, Row row);
    void remove(qsizetype index);
    void replace(qsizetype index, Row row);
    void clear();
    // Replaces every row at once, announced as one reset.
    void assign(QList<Row> rows);
    // Hands every row over without copying them, leaving the table empty (one reset).
    QList<Row> takeRows();

    // Direct access for code that rewrites many rows; only inside a bulk update.
    Row &rowForUpdate(qsizetype index);
    // Appends an empty row and returns it; only inside a Reset bulk update.
    Row &appendForUpdate();
    // Reserves room for rows that are known to follow.
    void reserve(qsizetype count) { m_rows.reserve(count); }

    void beginUpdate(BulkKind kind);
    void endUpdate();
    bool inUpdate() const { return m_updateDepth > 0; }

    // The lowest row written, inserted or removed since forgetTouchedRows(), or count() when
    // none was: the rows above it are as they were then. Whatever is worked out from the rows in
    // order (the odometer pass) starts again there.
    qsizetype firstTouchedRow() const { return std::min(m_firstTouched, m_rows.size()); }
    void forgetTouchedRows() { m_firstTouched = m_rows.size(); }

    // The departure of the trip at index as departureKey() reads its caption. Kept from one
    // call to the next, and read again only from the first row touched since: placing a trip
    // in time looks at every departure of a long list.
    std::optional<qint64> departureKeyAt(qsizetype index) const;

Q_SIGNALS:
    void aboutToBeReset();
    void wasReset();
    void rowsAboutToBeInserted(qsizetype first, qsizetype last);
    void rowsInserted();
    void rowsAboutToBeRemoved(qsizetype first, qsizetype last);
    void rowsRemoved();
    void rowsChanged(qsizetype first, qsizetype last);

private:
    bool signalsDeferred() const { return m_updateDepth > 0; }
    void touch(qsizetype row)
    {
        m_firstTouched = std::min(m_firstTouched, row);
        m_departureKeysRead = std::min(m_departureKeysRead, row);
    }

    QList<Row> m_rows;
    int m_updateDepth = 0;
    BulkKind m_updateKind = BulkKind::RewriteRows;
    qsizetype m_firstTouched = 0;
    mutable std::vector<std::optional<qint64>> m_departureKeys;
    mutable qsizetype m_departureKeysRead = 0; // the keys of the rows above are right
    // The rows a rewrite handed out, announced as one change when it ends.
    qsizetype m_rewrittenFirst = 0;
    qsizetype m_rewrittenLast = -1;
};

} // namespace fb
