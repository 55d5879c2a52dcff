#include "trip_list_view.h"

#include "plain_cell_delegate.h"
#include "trip_list_model.h"
#include "ui/fields/groove_caching_style.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace fb {

TripListView::TripListView(QWidget *parent) : RowListView(parent)
{
    setItemDelegate(new PlainCellDelegate(this));
    // Paging moves the slider in every frame; the groove under it stays as it is.
    auto *grooveStyle = new GrooveCachingStyle();
    grooveStyle->setParent(this);
    verticalScrollBar()->setStyle(grooveStyle);
}

void TripListView::setTripModel(TripListModel *model)
{
    m_tripModel = model;
    setModel(model);
}

void TripListView::paintEvent(QPaintEvent *event)
{
    RowListView::paintEvent(event);
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
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        Q_EMIT deleteRequested();
        event->accept();
        return;
    }
    RowListView::keyPressEvent(event);
}

} // namespace fb
