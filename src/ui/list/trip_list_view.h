#pragma once

#include "row_list_view.h"

namespace fb {

class TripListModel;

// The trip list: a report-style table of the trips that strikes deleted trips through. The
// view draws every row itself; the strike-through is one line across the row's whole width,
// at its middle, in the default pen.
class TripListView : public RowListView {
    Q_OBJECT
public:
    explicit TripListView(QWidget *parent = nullptr);

    void setTripModel(TripListModel *model);

    // The height of the strike-through line in a row from top to bottom (bottom exclusive).
    static int strikeThroughY(int top, int bottom) { return top + (bottom - top) / 2; }

Q_SIGNALS:
    // Delete on the selected trip: the wish to delete it, to be confirmed first.
    void deleteRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TripListModel *m_tripModel = nullptr;
};

} // namespace fb
