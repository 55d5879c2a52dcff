#pragma once

#include "model/logbook.h"

#include "trip_lines_dialog.h"

namespace fb {

// The entry log, an event a line in the order they happened: when, what kind of change, the
// trip (or master data field), its old and new values, and a note: which version a change
// replaced and by which it was replaced, and trips entered more than seven days after their
// arrival ("nachgetragen").
class EntryLogDialog : public TripLinesDialog {
    Q_OBJECT
public:
    explicit EntryLogDialog(QWidget *parent = nullptr);

    void showLog(const Logbook &logbook);
};

} // namespace fb
