#include "trip_lines_dialog.h"

#include "ui/fields/button_look.h"
#include "ui/fields/button_row.h"
#include "ui/window/window_placement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fb {

TripLinesDialog::TripLinesDialog(const QString &listName, const QStringList &headers,
                                 QWidget *parent)
    : QDialog(parent), m_summary(new QLabel(this)),
      m_list(new QTableWidget(0, int(headers.size()), this)),
      OkBtn(new QPushButton(QStringLiteral("Schließen"), this))
{
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setBuddy(m_list);
    m_list->setObjectName(listName);
    m_list->setHorizontalHeaderLabels(headers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    // Enter on a line chooses its trip; it must not press the button instead.
    OkBtn->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttonRow({OkBtn}));

    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int line) { choose(line); });
    connect(m_list, &QTableWidget::cellActivated, this, [this](int line) { choose(line); });
}

void TripLinesDialog::showLines(const QList<QStringList> &lines, const QList<qsizetype> &tripRows,
                                const QString &summaryText, int selectedLine)
{
    m_tripRows = tripRows;
    m_chosenTrip = -1;
    m_list->clearContents();
    m_list->setRowCount(int(lines.size()));
    for (int line = 0; line < int(lines.size()); ++line) {
        const QStringList &cells = lines.at(line);
        for (int column = 0; column < cells.size(); ++column) {
            // Long texts are cut in the cell; the tooltip shows them whole.
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setToolTip(cells.at(column));
            m_list->setItem(line, column, item);
        }
    }
    m_summary->setText(summaryText);
    m_list->setEnabled(!lines.isEmpty());
    if (!lines.isEmpty())
        m_list->selectRow(selectedLine);
}

void TripLinesDialog::choose(int line)
{
    if (line < 0 || line >= m_tripRows.size() || m_tripRows.at(line) < 0)
        return;
    m_chosenTrip = m_tripRows.at(line);
    accept();
}

void TripLinesDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    const bool empty = m_list->rowCount() == 0;
    (empty ? static_cast<QWidget *>(OkBtn) : m_list)->setFocus();
    if (!empty)
        m_list->scrollTo(m_list->currentIndex());
}

} // namespace fb
