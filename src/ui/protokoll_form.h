#pragma once

#include "model/logbook.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace fb {

// The entry log, an event a line in the order they happened: when, what kind of change, the
// trip (or master data field), its old and new values, and a note: which version a change
// replaced and by which it was replaced, and trips entered more than seven days after their
// arrival ("nachgetragen"). A double-click (or Enter) on a trip's line closes the window and
// names that trip, so that the main list can show it.
class TProtokollForm : public QDialog {
    Q_OBJECT
public:
    explicit TProtokollForm(QWidget *parent = nullptr);

    void showLog(const Logbook &logbook);
    // The trip row of the line chosen by a double-click, or -1.
    qsizetype chosenTrip() const { return m_chosenTrip; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(int line);

    QLabel *m_summary;
    QTableWidget *m_list;
    QPushButton *OkBtn;
    QList<qsizetype> m_rows;
    qsizetype m_chosenTrip = -1;
};

} // namespace fb
