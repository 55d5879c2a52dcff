#pragma once

#include <QAbstractTableModel>

namespace fb {

class RowTable;

// The trip table as the trip list shows it: ten columns, the caption first. It reads the rows
// where the logbook keeps them and follows the table's change signals; it copies nothing.
class TripListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TripListModel(const RowTable &trips, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Whether the trip shown in the row is marked deleted.
    bool isDeletedRow(int row) const;

private:
    const RowTable &m_trips;
    QStringList m_titles;
};

} // namespace fb
