#pragma once

#include "checks/plausibility.h"

#include "trip_lines_dialog.h"

namespace fb {

// The findings of the plausibility check, a trip a line: its number in the list, its
// departure and what is doubtful about it.
class CheckFindingsDialog : public TripLinesDialog {
    Q_OBJECT
public:
    explicit CheckFindingsDialog(QWidget *parent = nullptr);

    void showFindings(const RowTable &trips, const std::vector<Finding> &findings);
};

} // namespace fb
