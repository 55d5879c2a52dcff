#include "button_look.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace fb {
namespace {

struct IconSource {
    const char *themeName;           // freedesktop icon naming
    QStyle::StandardPixmap fallback; // what the style draws without a theme
    bool twoSheets = false;          // instead of the style's, which has no icon for copying
};

IconSource sourceOf(ButtonIcon icon)
{
    switch (icon) {
    case ButtonIcon::Ok:
        return {"dialog-ok", QStyle::SP_DialogOkButton};
    case ButtonIcon::Cancel:
        return {"dialog-cancel", QStyle::SP_DialogCancelButton};
    case ButtonIcon::New:
        return {"document-new", QStyle::SP_FileIcon};
    case ButtonIcon::Change:
        return {"document-edit", QStyle::SP_FileDialogDetailedView};
    case ButtonIcon::Delete:
        return {"edit-delete", QStyle::SP_TrashIcon};
    case ButtonIcon::Copy:
        return {"edit-copy", QStyle::SP_FileIcon, true};
    case ButtonIcon::Quit:
        return {"application-exit", QStyle::SP_DialogCloseButton};
    case ButtonIcon::Open:
        return {"document-open", QStyle::SP_DialogOpenButton};
    case ButtonIcon::Print:
        return {"document-print", QStyle::SP_FileDialogListView};
    case ButtonIcon::Font:
        return {"preferences-desktop-font", QStyle::SP_FileDialogInfoView};
    case ButtonIcon::Back:
        return {"go-previous", QStyle::SP_ArrowBack};
    }
    return {"", QStyle::SP_CustomBase};
}

// Two sheets, one in front of the other below and to the right, drawn in the button's own
// colours: the style has no icon for copying, and its file icon scaled down goes pale.
QIcon twoSheets(const QPalette &palette)
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setPen(QPen(palette.color(QPalette::WindowText), qMax(1, side / 16)));
        painter.setBrush(palette.color(QPalette::Base));
        const int width = side * 5 / 8;
        const int height = side * 3 / 4;
        const int last = side - 1;
        painter.drawRect(0, 0, width, height);
        const QRect front(last - width, last - height, width, height);
        painter.drawRect(front);
        // Lines of text on the front sheet.
        for (int line = 1; line <= 3; ++line) {
            const int y = front.top() + line * height / 5;
            painter.drawLine(front.left() + side / 8, y, front.right() - side / 8, y);
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

void setButtonLook(QPushButton &button, ButtonIcon icon)
{
    const IconSource source = sourceOf(icon);
    const QIcon fallback = source.twoSheets
                               ? twoSheets(button.palette())
                               : button.style()->standardIcon(source.fallback, nullptr, &button);
    button.setIcon(QIcon::fromTheme(QLatin1String(source.themeName), fallback));
}

} // namespace fb
