#include "column_widths.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <vector>

namespace fb {
namespace {

// Up to this many changed rows are measured one by one; of more (the odometer pass rewrites
// every row) only those in sight, so that a command on a long list stays quick.
constexpr int kRowsMeasuredOneByOne = 50;
// A fresh list's columns fit the rows in sight and those around them up to this many: Qt's
// thousand by default take a large logbook's window as long to measure as to read the file.
constexpr int kRowsSampledForFit = 100;

// The table view keeps its measure protected; the item view's is the same function.
int sampledContentWidth(const QTableView &view, int column)
{
    return static_cast<const QAbstractItemView &>(view).sizeHintForColumn(column);
}

// The width a cell needs for its text on one line, with the margins the cells are painted
// with and the grid line; measured directly, as a delegate's size hint lays the text out.
int cellWidth(const QTableView &view, const QModelIndex &index)
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return view.fontMetrics().horizontalAdvance(text) + 2 * margin + (view.showGrid() ? 1 : 0);
}

int contentWidth(const QTableView &view, int column, int first, int last)
{
    if (last - first >= kRowsMeasuredOneByOne) {
        const int top = view.rowAt(0);
        const int bottom = view.rowAt(view.viewport()->height() - 1);
        first = std::max(first, top < 0 ? 0 : top);
        last = std::min(last, bottom < 0 ? first + kRowsMeasuredOneByOne : bottom);
    }
    int width = 0;
    for (int row = first; row <= last; ++row)
        width = std::max(width, cellWidth(view, view.model()->index(row, column)));
    return width;
}

} // namespace

void fitColumns(QTableView &view, std::span<const int> designedWidths,
                std::span<const int> shortValueColumns)
{
    view.horizontalHeader()->setResizeContentsPrecision(kRowsSampledForFit);
    const std::vector<int> designed(designedWidths.begin(), designedWidths.end());
    const std::vector<int> shortValues(shortValueColumns.begin(), shortValueColumns.end());
    const auto fitAll = [&view, designed, shortValues] {
        const QHeaderView &header = *view.horizontalHeader();
        for (int column = 0; column < int(designed.size()); ++column) {
            int width = std::max(designed[std::size_t(column)], header.sectionSizeHint(column));
            if (std::ranges::find(shortValues, column) != shortValues.end())
                width = std::max(width, sampledContentWidth(view, column));
            view.setColumnWidth(column, width);
        }
    };
    // Rows that came or changed only widen a column: a width the person chose stays otherwise.
    const auto widen = [&view, shortValues](int first, int last) {
        for (const int column : shortValues) {
            const int needed = contentWidth(view, column, first, last);
            if (needed > view.columnWidth(column))
                view.setColumnWidth(column, needed);
        }
    };
    fitAll();
    const QAbstractItemModel *model = view.model();
    QObject::connect(model, &QAbstractItemModel::modelReset, &view, fitAll);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &view,
                     [widen](const QModelIndex &, int first, int last) { widen(first, last); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, &view,
                     [widen](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                         widen(topLeft.row(), bottomRight.row());
                     });
}

} // namespace fb
