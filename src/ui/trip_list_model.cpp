#include "trip_list_model.h"

#include "model/row_table.h"
#include "model/trip_columns.h"

namespace fb {

TripListModel::TripListModel(const RowTable &trips, QObject *parent)
    : QAbstractTableModel(parent), m_trips(trips), m_titles(tripColumnTitles())
{
    connect(&trips, &RowTable::aboutToBeReset, this, [this] { beginResetModel(); });
    connect(&trips, &RowTable::wasReset, this, [this] { endResetModel(); });
    connect(&trips, &RowTable::rowsAboutToBeInserted, this,
            [this](qsizetype first, qsizetype last) {
                beginInsertRows(QModelIndex(), int(first), int(last));
            });
    connect(&trips, &RowTable::rowsInserted, this, [this] { endInsertRows(); });
    connect(&trips, &RowTable::rowsAboutToBeRemoved, this, [this](qsizetype first, qsizetype last) {
        beginRemoveRows(QModelIndex(), int(first), int(last));
    });
    connect(&trips, &RowTable::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(&trips, &RowTable::rowsChanged, this, [this](qsizetype first, qsizetype last) {
        Q_EMIT dataChanged(index(int(first), 0), index(int(last), columnCount() - 1),
                           {Qt::DisplayRole});
    });
}

int TripListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_trips.count());
}

int TripListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant TripListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_trips.count())
        return QVariant();
    const Row &trip = m_trips.at(index.row());
    QString text = index.column() == 0 ? trip.caption : trip.subItem(index.column() - 1);
    // A purpose of several lines shows on the row's one line.
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    return text;
}

QVariant TripListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_titles.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_titles.at(section);
}

bool TripListModel::isDeletedRow(int row) const
{
    return row >= 0 && row < m_trips.count() && isDeleted(m_trips.at(row));
}

} // namespace fb
