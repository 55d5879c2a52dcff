#include "trip_list_model.h"

#include "model/row_table.h"
#include "model/trip_columns.h"

namespace fb {

TripListModel::TripListModel(const RowTable &trips, QObject *parent)
    : RowTableModel(trips, tripColumnTitles(), parent)
{}

bool TripListModel::isDeletedRow(int row) const
{
    return row >= 0 && row < rows().count() && isDeleted(rows().at(row));
}

} // namespace fb
