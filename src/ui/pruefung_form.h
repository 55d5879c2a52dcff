#pragma once

#include "model/plausibility.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace fb {

// The findings of the plausibility check, a trip a line: its number in the list, its
// departure and what is doubtful about it. A double-click (or Enter) on a line closes the
// window and names that trip, so that the main list can show it.
class TPruefungForm : public QDialog {
    Q_OBJECT
public:
    explicit TPruefungForm(QWidget *parent = nullptr);

    void showFindings(const RowTable &trips, const std::vector<Finding> &findings);
    // The trip row of the line chosen by a double-click, or -1.
    qsizetype chosenTrip() const { return m_chosenTrip; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(int line);

    QLabel *m_summary;
    QTableWidget *m_list;
    QPushButton *OkBtn;
    std::vector<Finding> m_findings;
    qsizetype m_chosenTrip = -1;
};

} // namespace fb
