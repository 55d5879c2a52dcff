#include "stamm_form.h"

#include "ui/fields/button_row.h"
#include "ui/fields/named_widget.h"
#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"
#include "ui/fields/date_field.h"
#include "ui/fields/input_checks.h"
#include "ui/fields/number_field.h"

#include "core/ole_date.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fb {

TStammForm::TStammForm(Prompts &prompts, const MasterData &record, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_record(record)
{
    setObjectName(QStringLiteral("StammForm"));
    setWindowTitle(QStringLiteral("Stammdaten"));

    // OK comes first in the keyboard order, so the dialog opens with the focus on it.
    OkBtn = named(new QPushButton(QStringLiteral("OK"), this), "OkBtn");
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit3 = named(new QLineEdit(this), "Edit3");
    Edit4 = named(new QLineEdit(this), "Edit4");
    Edit5 = named(new QLineEdit(this), "Edit5");
    Edit6 = named(new QLineEdit(this), "Edit6");
    Edit7 = named(new QLineEdit(this), "Edit7");
    Edit8 = named(new QLineEdit(this), "Edit8");
    Edit9 = named(new QLineEdit(this), "Edit9");
    RxSpinEdit1 = named(new NumberField(NumberField::Kind::WholeNumber, this), "RxSpinEdit1");
    DateTimePicker1 = named(new DateField(this), "DateTimePicker1");
    Edit10 = named(new QLineEdit(this), "Edit10");
    DateTimePicker2 = named(new DateField(this), "DateTimePicker2");
    OkBtn->setDefault(true);

    buildLayout();

    const QList<QWidget *> order = {OkBtn,       Edit1,           Edit2,  Edit3,          Edit4,
                                    Edit5,       Edit6,           Edit7,  Edit8,          Edit9,
                                    RxSpinEdit1, DateTimePicker1, Edit10, DateTimePicker2};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));

    showRecord();
    connectToRecord();
    connect(OkBtn, &QPushButton::clicked, this, &TStammForm::OkBtnClick);
}

void TStammForm::buildLayout()
{
    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString &label, QWidget *field) {
        auto *caption = new QLabel(label, this);
        caption->setBuddy(field);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(QStringLiteral("&Firma:"), Edit1);
    addRow(QStringLiteral("&Vorname:"), Edit2);
    addRow(QStringLiteral("&Name:"), Edit3);
    addRow(QStringLiteral("St&raße:"), Edit4);
    addRow(QStringLiteral("&PLZ:"), Edit5);
    addRow(QStringLiteral("&Ort:"), Edit6);
    addRow(QStringLiteral("&Land:"), Edit7);
    addRow(QStringLiteral("&Telefon:"), Edit8);
    auto *separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Bevel1"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    grid->addWidget(separator, row++, 0, 1, 2);
    addRow(QStringLiteral("&Kennzeichen:"), Edit9);
    addRow(QStringLiteral("Kilometerstand &Beginn:"), RxSpinEdit1);
    addRow(QStringLiteral("Datum der &Erstzulassung:"), DateTimePicker1);
    addRow(QStringLiteral("Zul&assungsbehörde:"), Edit10);
    addRow(QStringLiteral("Datum der &Zulassung:"), DateTimePicker2);
    grid->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttonRow({OkBtn}));
    setFixedSize(384, 390);
}

void TStammForm::connectToRecord()
{
    const std::pair<QLineEdit *, QString MasterData::*> texts[] = {
        {Edit1, &MasterData::company},
        {Edit2, &MasterData::firstName},
        {Edit3, &MasterData::lastName},
        {Edit4, &MasterData::street},
        {Edit5, &MasterData::postcode},
        {Edit6, &MasterData::town},
        {Edit7, &MasterData::country},
        {Edit8, &MasterData::telephone},
        {Edit9, &MasterData::registrationNumber},
        {Edit10, &MasterData::registrationAuthority},
    };
    for (const auto &[field, member] : texts) {
        connect(field, &QLineEdit::textChanged, this, [this, member](const QString &text) {
            if (!m_filling)
                m_record.*member = text;
        });
    }
    // The start reading moves every reading of the logbook: it is taken when the person leaves
    // the field or closes the dialog, not at each key on the way to the number.
    connect(RxSpinEdit1, &QAbstractSpinBox::editingFinished, this, &TStammForm::keepStartReading);
    connect(DateTimePicker1, &DateField::valueChanged, this, [this] {
        if (!m_filling)
            storeDate(&m_record.firstRegistration, DateTimePicker1->date());
    });
    connect(DateTimePicker2, &DateField::valueChanged, this, [this] {
        if (!m_filling)
            storeDate(&m_record.registration, DateTimePicker2->date());
    });
}

void TStammForm::storeDate(double *stored, const QDate &picked)
{
    const QDateTime before = fromOleDate(*stored);
    if (before.isValid() && before.date() == picked)
        return; // the stored value stays bit for bit
    *stored = toOleDate(picked, before.isValid() ? before.time() : QTime(0, 0));
}

void TStammForm::showRecord()
{
    // Filling the fields must not write back: a stored date the field cannot show exactly
    // would otherwise change.
    m_filling = true;
    Edit1->setText(m_record.company);
    Edit2->setText(m_record.firstName);
    Edit3->setText(m_record.lastName);
    Edit4->setText(m_record.street);
    Edit5->setText(m_record.postcode);
    Edit6->setText(m_record.town);
    Edit7->setText(m_record.country);
    Edit8->setText(m_record.telephone);
    Edit9->setText(m_record.registrationNumber);
    RxSpinEdit1->setValue(m_record.startKm);
    DateTimePicker1->setDate(fromOleDate(m_record.firstRegistration).date());
    Edit10->setText(m_record.registrationAuthority);
    DateTimePicker2->setDate(fromOleDate(m_record.registration).date());
    m_filling = false;
}

void TStammForm::OkBtnClick()
{
    const bool startReadingReads = RxSpinEdit1->text().isEmpty() || RxSpinEdit1->isInputValid();
    if (!startReadingReads)
        return refuseInput(m_prompts, *this, RxSpinEdit1->invalidInputMessage(), *RxSpinEdit1);
    for (DateField *date : {DateTimePicker1, DateTimePicker2}) {
        if (!date->isInputValid())
            return refuseInput(m_prompts, *this, date->invalidInputMessage(), *date);
    }
    accept();
}

void TStammForm::keepStartReading()
{
    // An empty field counts as 0; a text that is no number leaves the record as it was.
    if (!m_filling && (RxSpinEdit1->text().isEmpty() || RxSpinEdit1->isInputValid()))
        m_record.startKm = qint32(RxSpinEdit1->value());
}

void TStammForm::done(int result)
{
    // However it closes, the record takes what reads and keeps its values for what does not;
    // the fields show what the record holds.
    for (DateField *date : {DateTimePicker1, DateTimePicker2})
        date->commitOrRevert();
    keepStartReading();
    RxSpinEdit1->setValue(m_record.startKm);
    QDialog::done(result);
}

void TStammForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    OkBtn->setFocus(Qt::OtherFocusReason);
}

} // namespace fb
