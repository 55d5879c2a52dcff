#include "row_table_model.h"

#include "model/row_table.h"

namespace fb {

RowTableModel::RowTableModel(const RowTable &rows, QStringList titles, QObject *parent)
    : QAbstractTableModel(parent), m_rows(rows), m_titles(std::move(titles))
{
    connect(&rows, &RowTable::aboutToBeReset, this, [this] { beginResetModel(); });
    connect(&rows, &RowTable::wasReset, this, [this] { endResetModel(); });
    connect(&rows, &RowTable::rowsAboutToBeInserted, this, [this](qsizetype first, qsizetype last) {
        beginInsertRows(QModelIndex(), int(first), int(last));
    });
    connect(&rows, &RowTable::rowsInserted, this, [this] { endInsertRows(); });
    connect(&rows, &RowTable::rowsAboutToBeRemoved, this, [this](qsizetype first, qsizetype last) {
        beginRemoveRows(QModelIndex(), int(first), int(last));
    });
    connect(&rows, &RowTable::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(&rows, &RowTable::rowsChanged, this, [this](qsizetype first, qsizetype last) {
        Q_EMIT dataChanged(index(int(first), 0), index(int(last), columnCount() - 1),
                           {Qt::DisplayRole});
    });
}

int RowTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.count());
}

int RowTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant RowTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.count())
        return QVariant();
    const Row &row = m_rows.at(index.row());
    QString text = index.column() == 0 ? row.caption : row.subItem(index.column() - 1);
    // A purpose of several lines shows on the row's one line.
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    return text;
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_titles.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_titles.at(section);
}

} // namespace fb
