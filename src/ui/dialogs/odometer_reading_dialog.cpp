#include "odometer_reading_dialog.h"

#include "ui/fields/button_look.h"
#include "ui/fields/button_row.h"
#include "ui/fields/date_field.h"
#include "ui/fields/input_checks.h"
#include "ui/fields/named_widget.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"
#include "ui/window/window_placement.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fb {

OdometerReadingDialog::OdometerReadingDialog(Prompts &prompts, const QDate &date, const QTime &time,
                                             QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("OdometerReadingDialog"));
    setWindowTitle(QStringLiteral("Kilometerstand ablesen"));

    m_date = named(new DateField(this), "ReadingDate");
    m_time = named(new TimeField(this), "ReadingTime");
    m_km = named(new NumberField(NumberField::Kind::Decimal, this), "ReadingKm");
    m_note = named(new QLineEdit(this), "ReadingNote");
    OkBtn = named(new QPushButton(QStringLiteral("OK"), this), "OkBtn");
    BitBtn2 = named(new QPushButton(QStringLiteral("Abbrechen"), this), "BitBtn2");
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    setButtonLook(*BitBtn2, ButtonIcon::Cancel);
    OkBtn->setDefault(true);
    m_date->setDate(date);
    m_time->setTime(time);
    m_km->setText(QString());
    m_note->setMaxLength(kLongestNote);

    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString &caption, QWidget *field, const QString &unit = {}) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, this), row, 2);
        ++row;
    };
    addRow(QStringLiteral("&Datum:"), m_date);
    addRow(QStringLiteral("&Uhrzeit:"), m_time);
    addRow(QStringLiteral("&Kilometerstand:"), m_km, QStringLiteral("Kilometer"));
    addRow(QStringLiteral("&Bemerkung:"), m_note);
    grid->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttonRow({OkBtn, BitBtn2}));
    setFixedSize(351, 190);

    setTabOrder(m_date, m_time);
    setTabOrder(m_time, m_km);
    setTabOrder(m_km, m_note);
    setTabOrder(m_note, OkBtn);
    setTabOrder(OkBtn, BitBtn2);

    connect(OkBtn, &QPushButton::clicked, this, &OdometerReadingDialog::OkBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void OdometerReadingDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    m_km->setFocus(Qt::TabFocusReason);
}

OdometerReadingInput OdometerReadingDialog::values() const
{
    return {m_date->date(), m_time->time(), m_km->value(), m_note->text()};
}

void OdometerReadingDialog::OkBtnClick()
{
    for (TypedField *field : std::initializer_list<TypedField *>{m_date, m_time, m_km}) {
        if (!field->isInputValid())
            return refuseInput(m_prompts, *this, field->invalidInputMessage(), *field);
    }
    if (m_km->value() < 0)
        return refuseInput(m_prompts, *this,
                           QStringLiteral("Ein Kilometerstand ist nicht negativ."), *m_km);
    accept();
}

} // namespace fb
