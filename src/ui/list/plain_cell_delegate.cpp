#include "plain_cell_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace fb {

void PlainCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        !option.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
        : option.state.testFlag(QStyle::State_Active) ? QPalette::Active
                                                      : QPalette::Inactive;
    // Some styles leave the selected row's background to the cells.
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));

    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    // The keyboard's place in the list, before anything is selected.
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor =
            option.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const QFontMetrics &metrics = option.fontMetrics;
    const int baseline =
        textRect.top() + (textRect.height() - metrics.height()) / 2 + metrics.ascent();
    // Most cells fit; measuring first spares them the eliding, which lays the text out again.
    const QString shown = metrics.horizontalAdvance(text) <= textRect.width()
                              ? text
                              : metrics.elidedText(text, Qt::ElideRight, textRect.width());

    painter->save();
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QPoint(textRect.left(), baseline), shown);
    painter->restore();
}

} // namespace fb
