#pragma once

#include "row_table_model.h"

namespace fb {

// The trip table as the trip list shows it: ten columns, the departure time first.
class TripListModel : public RowTableModel {
    Q_OBJECT
public:
    explicit TripListModel(const RowTable &trips, QObject *parent = nullptr);

    // Whether the trip shown in the row is marked deleted.
    bool isDeletedRow(int row) const;
};

} // namespace fb
