#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace fb {

class RowTable;

// A table of rows as a list shows it: the caption in the first column, the sub-items in the
// columns after it. It reads the rows where the logbook keeps them and follows the table's
// change signals; it copies nothing.
class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RowTableModel(const RowTable &rows, QStringList titles, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    const RowTable &rows() const { return m_rows; }

private:
    const RowTable &m_rows;
    QStringList m_titles;
};

} // namespace fb
