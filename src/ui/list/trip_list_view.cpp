#include "trip_list_view.h"

#include "plain_cell_delegate.h"
#include "trip_list_model.h"
#include "ui/fields/groove_caching_style.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace fb {

TripListView::TripListView(QWidget *parent) : QTableView(parent)
{
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setItemDelegate(new PlainCellDelegate(this));
    // Paging moves the slider in every frame; the groove under it stays as it is.
    auto *grooveStyle = new GrooveCachingStyle();
    grooveStyle->setParent(this);
    verticalScrollBar()->setStyle(grooveStyle);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    // Rows of one height let the view find any of 100,000 rows without measuring them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    // The selected trip stays visible while another widget has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

void TripListView::setTripModel(TripListModel *model)
{
    m_tripModel = model;
    setModel(model);
}

void TripListView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (!m_tripModel || m_tripModel->rowCount() == 0)
        return;
    const int firstRow = std::max(0, rowAt(event->rect().top()));
    int lastRow = rowAt(event->rect().bottom());
    if (lastRow < 0)
        lastRow = m_tripModel->rowCount() - 1;
    const int lastColumn = m_tripModel->columnCount() - 1;
    const int left = columnViewportPosition(0);
    const int right = columnViewportPosition(lastColumn) + columnWidth(lastColumn);

    QPainter painter(viewport());
    painter.setPen(QPen(Qt::black, 1));
    for (int row = firstRow; row <= lastRow; ++row) {
        if (!m_tripModel->isDeletedRow(row))
            continue;
        const int top = rowViewportPosition(row);
        const int y = strikeThroughY(top, top + rowHeight(row));
        painter.drawLine(left, y, right - 1, y);
    }
}

void TripListView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        Q_EMIT openRequested();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        Q_EMIT deleteRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace fb
