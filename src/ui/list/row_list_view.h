#pragma once

#include <QTableView>

namespace fb {

// A list of rows as the trip list and the template list show them: whole rows, one at a time,
// no editing in place, the selection visible while another widget has the focus. Enter on it
// is the wish to open the selected row.
class RowListView : public QTableView {
    Q_OBJECT
public:
    explicit RowListView(QWidget *parent = nullptr);

    // The selected row, or -1.
    int selectedRow() const;
    // Selects the row, makes it the current one and scrolls it into sight.
    void selectRow(int row);

Q_SIGNALS:
    // Enter on the selected row: the wish to change it.
    void openRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace fb
