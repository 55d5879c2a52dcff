#include "auswertung_form.h"

#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace fb {

TAuswertungForm::TAuswertungForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AuswertungForm"));
    setWindowTitle(QStringLiteral("Auswertung anzeigen"));
    // A fixed dialog border: a title and a close button, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    setButtonLook(*BitBtn1, ButtonIcon::Ok);
    BitBtn1->setGeometry(8, 8, 105, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(Memo1, 1);
    layout->addWidget(StatusBar1);
    setFixedSize(764, 544);
}

void TAuswertungForm::showLines(const QStringList &lines)
{
    Memo1->clear();
    for (const QString &line : lines)
        Memo1->appendPlainText(line);
}

QStringList TAuswertungForm::lines() const
{
    return Memo1->toPlainText().split(QLatin1Char('\n'));
}

void TAuswertungForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace fb
