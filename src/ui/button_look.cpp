#include "button_look.h"

#include <QApplication>
#include <QIcon>
#include <QPushButton>
#include <QStyle>

namespace fb {
namespace {

struct IconSource {
    const char *themeName;           // freedesktop icon naming
    QStyle::StandardPixmap fallback; // what the style draws without a theme
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
        return {"edit-copy", QStyle::SP_FileDialogContentsView};
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

} // namespace

void setButtonLook(QPushButton &button, ButtonIcon icon)
{
    const IconSource source = sourceOf(icon);
    const QIcon fallback = button.style()->standardIcon(source.fallback, nullptr, &button);
    button.setIcon(QIcon::fromTheme(QLatin1String(source.themeName), fallback));
}

} // namespace fb
