#include "vorlage_neu_form.h"

#include "window_placement.h"

#include "button_look.h"
#include "input_checks.h"

#include "number_field.h"
#include "prompts.h"

#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fb {
namespace {

template<typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *labelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TVorlageNeuForm::TVorlageNeuForm(Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("VorlageNeuForm"));
    setWindowTitle(QStringLiteral("Neue Vorlage oder Vorlage bearbeiten"));

    DescEd = named(new QLineEdit(this), "DescEd");
    AbfahrtEd = named(new QLineEdit(this), "AbfahrtEd");
    AnkunftEd = named(new QLineEdit(this), "AnkunftEd");
    KMED = named(new NumberField(NumberField::Kind::Decimal, this), "KMED");
    ZweckEd = named(new QPlainTextEdit(this), "ZweckEd");
    RadioButton1 = named(new QRadioButton(QStringLiteral("Geschäftlich"), this), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Privat"), this), "RadioButton2");
    OkBtn = named(new QPushButton(QStringLiteral("OK"), this), "OkBtn");
    BitBtn2 = named(new QPushButton(QStringLiteral("Abbrechen"), this), "BitBtn2");
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    setButtonLook(*BitBtn2, ButtonIcon::Cancel);

    ZweckEd->setLineWrapMode(QPlainTextEdit::NoWrap);
    ZweckEd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZweckEd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZweckEd->setTabChangesFocus(true);
    RadioButton1->setChecked(true);
    OkBtn->setDefault(true);

    buildLayout();

    const QList<QWidget *> order = {DescEd,       AbfahrtEd, AnkunftEd, KMED,   RadioButton1,
                                    RadioButton2, OkBtn,     BitBtn2,   ZweckEd};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));

    connect(OkBtn, &QPushButton::clicked, this, &TVorlageNeuForm::OkBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TVorlageNeuForm::buildLayout()
{
    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString &label, QWidget *field) {
        grid->addWidget(labelFor(label, field, this), row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow(QStringLiteral("&Bezeichnung:"), DescEd);
    addRow(QStringLiteral("&Abfahrtsort:"), AbfahrtEd);
    addRow(QStringLiteral("Ankunfts&ort:"), AnkunftEd);
    auto *distance = new QHBoxLayout;
    distance->addWidget(KMED, 1);
    distance->addWidget(new QLabel(QStringLiteral("Kilometer"), this));
    grid->addWidget(labelFor(QStringLiteral("&Entfernung:"), KMED, this), row, 0);
    grid->addLayout(distance, row++, 1);
    grid->addWidget(labelFor(QStringLiteral("&Fahrtzweck:"), ZweckEd, this), row, 0, Qt::AlignTop);
    grid->setRowStretch(row, 1);
    grid->addWidget(ZweckEd, row++, 1);
    auto *kinds = new QHBoxLayout;
    kinds->addWidget(RadioButton1);
    kinds->addWidget(RadioButton2);
    kinds->addStretch();
    grid->addWidget(labelFor(QStringLiteral("Art der Fahrt:"), RadioButton1, this), row, 0);
    grid->addLayout(kinds, row++, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    setFixedSize(352, 322);
}

void TVorlageNeuForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void TVorlageNeuForm::setFromTemplate(const Row &entry)
{
    const double distance = parseNumberText(entry.subItem(TemplateSubItem::Distance));
    DescEd->setText(entry.caption);
    AbfahrtEd->setText(entry.subItem(TemplateSubItem::DeparturePlace));
    AnkunftEd->setText(entry.subItem(TemplateSubItem::ArrivalPlace));
    KMED->setValue(distance);
    QString purpose = entry.subItem(TemplateSubItem::Purpose);
    ZweckEd->setPlainText(purpose.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    const bool business = entry.subItem(TemplateSubItem::Kind) == kBusinessTripKind;
    (business ? RadioButton1 : RadioButton2)->setChecked(true);
}

Row TVorlageNeuForm::templateRow() const
{
    QString purpose = ZweckEd->toPlainText();
    purpose.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    Row entry;
    entry.caption = DescEd->text();
    entry.subItems = {AbfahrtEd->text(), AnkunftEd->text(), formatNumberText(KMED->value()),
                      purpose, RadioButton1->isChecked() ? kBusinessTripKind : kPrivateTripKind};
    return entry;
}

void TVorlageNeuForm::OkBtnClick()
{
    if (DescEd->text().isEmpty())
        return refuseInput(
            m_prompts, *this,
            QStringLiteral(
                "Geben Sie eine Bezeichnung für die neue Vorlage ein (frei gewählter Name)."),
            *DescEd);
    if (placesAndPurposeGiven(m_prompts, *this, *AbfahrtEd, *AnkunftEd, *ZweckEd))
        accept();
}

} // namespace fb
