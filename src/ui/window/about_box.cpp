#include "about_box.h"

#include "ui/fields/button_look.h"

#include <QDate>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fb {

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 256})
        icon.addFile(
            QStringLiteral(":/fahrtenbuch/icons/hicolor/%1x%1/apps/fahrtenbuch.png").arg(size),
            QSize(size, size));
    return icon;
}

TAboutBox::TAboutBox(QWidget *parent, const QString &picturePath)
    : QDialog(parent), m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programIcon().pixmap(48, 48));
    ProductName = new QLabel(kProductName, this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont bold = ProductName->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    ProductName->setFont(bold);
    Version = new QLabel(QStringLiteral("Version ") + kProductVersion, this);
    Version->setObjectName(QStringLiteral("Version"));
    Copyright =
        new QLabel(QStringLiteral("Copyright © %1 Tervona").arg(QDate::currentDate().year()), this);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    Comments =
        new QLabel(QStringLiteral("Das Fahrtenbuch für ein Fahrzeug und seinen Halter."), this);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setWordWrap(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    QImageReader reader(picturePath);
    const QImage picture = reader.read();
    if (picture.isNull())
        Image1->hide();
    else
        Image1->setPixmap(QPixmap::fromImage(picture));

    WebBtn = new QPushButton(QStringLiteral("&Homepage besuchen"), this);
    WebBtn->setObjectName(QStringLiteral("WebBtn"));
    WebBtn->setToolTip(kMakerWebAddress.toString());
    WebBtn->setAutoDefault(false);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    setButtonLook(*WebBtn, ButtonIcon::Open);
    setButtonLook(*OKButton, ButtonIcon::Ok);
    connect(WebBtn, &QPushButton::clicked, this, &TAboutBox::WebBtnClick);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addWidget(Copyright);
    texts->addWidget(Comments);
    auto *heading = new QHBoxLayout;
    heading->addWidget(ProgramIcon, 0, Qt::AlignTop);
    heading->addSpacing(8);
    heading->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(WebBtn);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(Image1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::WebBtnClick()
{
    m_openUrl(kMakerWebAddress);
}

} // namespace fb
