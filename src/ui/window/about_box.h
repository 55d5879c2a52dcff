#pragma once

#include "product.h"

#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>

class QIcon;
class QLabel;
class QPushButton;

namespace fb {

// The picture of the about box, a JPEG shipped in the program's resources.
inline const QString kAboutPicture = QStringLiteral(":/fahrtenbuch/about.jpg");
// The program's icon at the sizes it ships, for the windows and the about box.
QIcon programIcon();

// The about box: the program's icon and picture, the product text with the current year, and
// a button that opens the maker's web site.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // Opens a web address; QDesktopServices by default, replaced in the tests.
    using UrlOpener = std::function<bool(const QUrl &)>;

    // A picture that cannot be read (no JPEG image plugin, a damaged file) leaves the box
    // without it.
    explicit TAboutBox(QWidget *parent = nullptr, const QString &picturePath = kAboutPicture);

    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *Copyright;
    QLabel *Comments;
    QLabel *Image1;
    QPushButton *WebBtn;
    QPushButton *OKButton;

private:
    void WebBtnClick();

    UrlOpener m_openUrl;
};

} // namespace fb
