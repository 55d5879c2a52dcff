#pragma once

#include "row_table_model.h"

namespace fb {

class EntryLog;

// The trip table as the trip list shows it: the ten columns of the trips, the departure time
// first, then when each trip was entered and deleted, from the entry log (local time, empty
// for trips the log does not know).
class TripListModel : public RowTableModel {
    Q_OBJECT
public:
    // The columns after the trips' own.
    enum LogColumn { EnteredColumn = 10, DeletedColumn = 11 };

    TripListModel(const RowTable &trips, const EntryLog &log, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Whether the trip shown in the row is marked deleted.
    bool isDeletedRow(int row) const;
    // The log has changed: its columns are shown anew.
    void entryLogChanged();

private:
    const EntryLog &m_log;
};

} // namespace fb
