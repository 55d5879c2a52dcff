#include "trip_list_model.h"

#include "checks/entry_log_report.h"
#include "model/entry_log.h"
#include "model/row_table.h"
#include "model/trip_columns.h"

namespace fb {
namespace {

QStringList listColumnTitles()
{
    return tripColumnTitles() << QStringLiteral("Erfasst am") << QStringLiteral("Gelöscht am");
}

} // namespace

TripListModel::TripListModel(const RowTable &trips, const EntryLog &log, QObject *parent)
    : RowTableModel(trips, listColumnTitles(), parent), m_log(log)
{}

QVariant TripListModel::data(const QModelIndex &index, int role) const
{
    if (index.column() < EnteredColumn)
        return RowTableModel::data(index, role);
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    const EntryEvent *event = index.column() == EnteredColumn ? m_log.enteredEvent(index.row())
                                                              : m_log.deletedEvent(index.row());
    return event ? localMomentText(event->when) : QString();
}

bool TripListModel::isDeletedRow(int row) const
{
    return row >= 0 && row < rows().count() && isDeleted(rows().at(row));
}

void TripListModel::entryLogChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, EnteredColumn), index(rowCount() - 1, DeletedColumn),
                           {Qt::DisplayRole});
}

} // namespace fb
