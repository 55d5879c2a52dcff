#pragma once

#include <QStyledItemDelegate>

namespace fb {

// Paints a cell as one line of text, cut with "…" where it is too wide, on the selection colour
// when its row is selected and with the focus frame when the keyboard is on it. The style's own
// item painting lays every cell's text out several times over, which made some frames of a list
// paged through from top to bottom take longer than a screen refresh.
class PlainCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace fb
