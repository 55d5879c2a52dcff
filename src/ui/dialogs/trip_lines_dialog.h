#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLabel;
class QPushButton;
class QTableWidget;

namespace fb {

// A window that lists lines about the logbook's trips under a summary, with a "Schließen"
// button. A double-click (or Enter) on a line that is about a trip closes the window and
// names that trip, so that the main list can show it.
class TripLinesDialog : public QDialog {
    Q_OBJECT
public:
    // The trip row of the line chosen by a double-click, or -1.
    qsizetype chosenTrip() const { return m_chosenTrip; }

protected:
    TripLinesDialog(const QString &listName, const QStringList &headers, QWidget *parent);

    QTableWidget &list() { return *m_list; }
    QLabel &summary() { return *m_summary; }
    // Shows the lines, each with the trip row it is about (-1 for none), and selects one.
    void showLines(const QList<QStringList> &lines, const QList<qsizetype> &tripRows,
                   const QString &summaryText, int selectedLine);

    void showEvent(QShowEvent *event) override;

private:
    void choose(int line);

    QLabel *m_summary;
    QTableWidget *m_list;
    QPushButton *OkBtn;
    QList<qsizetype> m_tripRows;
    qsizetype m_chosenTrip = -1;
};

} // namespace fb
