#include "fahrt_form.h"

#include "window_placement.h"

#include "button_look.h"
#include "input_checks.h"
#include "number_field.h"
#include "prompts.h"

#include "core/error.h"
#include "model/row_table.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace fb {
namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");

template<typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Moments are plain wall-clock values, as the text forms hold them: no daylight-saving gaps.
QDateTime combine(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

QLabel *labelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TFahrtForm::TFahrtForm(Prompts &prompts, const RowTable &templates, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_templates(templates)
{
    setObjectName(QStringLiteral("FahrtForm"));
    setWindowTitle(QStringLiteral("Neue Fahrt"));

    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox1->setEditable(false);
    DateTimePicker1 = named(new QDateEdit(this), "DateTimePicker1");
    DateTimePicker2 = named(new QTimeEdit(this), "DateTimePicker2");
    AbfahrtEd = named(new QLineEdit(this), "AbfahrtEd");
    DateTimePicker3 = named(new QDateEdit(this), "DateTimePicker3");
    DateTimePicker4 = named(new QTimeEdit(this), "DateTimePicker4");
    AnkunftEd = named(new QLineEdit(this), "AnkunftEd");
    KMED = named(new NumberField(NumberField::Kind::Decimal, this), "KMED");
    ZweckEd = named(new QPlainTextEdit(this), "ZweckEd");
    RadioButton1 = named(new QRadioButton(QStringLiteral("Geschäftlich"), this), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Privat"), this), "RadioButton2");
    KM1Ed = named(new NumberField(NumberField::Kind::Decimal, this), "KM1Ed");
    KM2Ed = named(new NumberField(NumberField::Kind::Decimal, this), "KM2Ed");
    OkBtn = named(new QPushButton(QStringLiteral("OK"), this), "OkBtn");
    BitBtn2 = named(new QPushButton(QStringLiteral("Abbrechen"), this), "BitBtn2");
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    setButtonLook(*BitBtn2, ButtonIcon::Cancel);

    for (QDateEdit *date : {DateTimePicker1, DateTimePicker3}) {
        date->setDisplayFormat(kDateFormat);
        date->setCalendarPopup(true);
    }
    for (QTimeEdit *time : {DateTimePicker2, DateTimePicker4})
        time->setDisplayFormat(kTimeFormat);
    ZweckEd->setLineWrapMode(QPlainTextEdit::NoWrap);
    ZweckEd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZweckEd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZweckEd->setTabChangesFocus(true);
    RadioButton1->setChecked(true);
    KM1Ed->setReadOnly(true);
    KM1Ed->setButtonSymbols(QAbstractSpinBox::NoButtons);
    OkBtn->setDefault(true);

    buildLayout();

    setTabOrder(DateTimePicker1, DateTimePicker2);
    setTabOrder(DateTimePicker2, AbfahrtEd);
    setTabOrder(AbfahrtEd, DateTimePicker3);
    setTabOrder(DateTimePicker3, DateTimePicker4);
    setTabOrder(DateTimePicker4, AnkunftEd);
    setTabOrder(AnkunftEd, KMED);
    setTabOrder(KMED, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, OkBtn);
    setTabOrder(OkBtn, BitBtn2);
    setTabOrder(BitBtn2, ComboBox1);
    setTabOrder(ComboBox1, KM1Ed);
    setTabOrder(KM1Ed, KM2Ed);
    setTabOrder(KM2Ed, ZweckEd);

    connect(ComboBox1, &QComboBox::activated, this, [this] {
        // A template whose distance does not parse ends the choice; what was written stays.
        try {
            ComboBox1Change();
        } catch (const Error &error) {
            m_prompts.showError(this, error.message());
        }
    });
    connect(KMED, &NumberField::changed, this, &TFahrtForm::KMEDChange);
    connect(KM2Ed, &NumberField::changed, this, &TFahrtForm::KM2EdChange);
    connect(OkBtn, &QPushButton::clicked, this, &TFahrtForm::OkBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFahrtForm::buildLayout()
{
    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString &label, QWidget *field, QWidget *beside = nullptr) {
        grid->addWidget(labelFor(label, field, this), row, 0);
        if (beside) {
            auto *pair = new QHBoxLayout;
            pair->addWidget(field, 1);
            pair->addWidget(beside);
            grid->addLayout(pair, row, 1);
        } else {
            grid->addWidget(field, row, 1);
        }
        ++row;
    };
    const auto unit = [this] {
        return new QLabel(QStringLiteral("Kilometer"), this);
    };

    addRow(QStringLiteral("&Vorlage:"), ComboBox1);
    addRow(QStringLiteral("Abfahrtzeit"), DateTimePicker1, DateTimePicker2);
    addRow(QStringLiteral("&Abfahrtsort:"), AbfahrtEd);
    addRow(QStringLiteral("Ankuftszeit:"), DateTimePicker3, DateTimePicker4);
    addRow(QStringLiteral("Ankunfts&ort:"), AnkunftEd);
    addRow(QStringLiteral("&Entfernung:"), KMED, unit());
    grid->addWidget(labelFor(QStringLiteral("&Fahrtzweck:"), ZweckEd, this), row, 0, Qt::AlignTop);
    grid->addWidget(ZweckEd, row++, 1);
    auto *kinds = new QHBoxLayout;
    kinds->addWidget(RadioButton1);
    kinds->addWidget(RadioButton2);
    kinds->addStretch();
    grid->addWidget(labelFor(QStringLiteral("Art der Fahrt:"), RadioButton1, this), row, 0);
    grid->addLayout(kinds, row++, 1);
    addRow(QStringLiteral("KM-Stand &Beginn:"), KM1Ed, unit());
    addRow(QStringLiteral("KM-Stand E&nde:"), KM2Ed, unit());
    grid->setRowStretch(6, 1);

    auto *hint = new QLabel(
        QStringLiteral("In den Stammdaten kann der Start Kilometerstand hinterlegt werden."), this);
    hint->setObjectName(QStringLiteral("HintLabel"));
    hint->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    setFixedSize(351, 460);
}

void TFahrtForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void TFahrtForm::setDeparture(const QDateTime &moment)
{
    DateTimePicker1->setDate(moment.date());
    DateTimePicker2->setTime(moment.time());
}

void TFahrtForm::setArrival(const QDateTime &moment)
{
    DateTimePicker3->setDate(moment.date());
    DateTimePicker4->setTime(moment.time());
}

QDateTime TFahrtForm::departure() const
{
    return combine(DateTimePicker1->date(), DateTimePicker2->time());
}

QDateTime TFahrtForm::arrival() const
{
    return combine(DateTimePicker3->date(), DateTimePicker4->time());
}

void TFahrtForm::setReadings(double start, double endMinimum, double endMaximum, double end)
{
    KM1Ed->setValue(start);
    KM2Ed->setRange(endMinimum, endMaximum);
    KM2Ed->setValue(end);
}

void TFahrtForm::fillTemplateList()
{
    ComboBox1->clear();
    for (const Row &entry : m_templates.rows())
        ComboBox1->addItem(entry.caption);
    ComboBox1->setCurrentIndex(-1);
}

void TFahrtForm::setFromTrip(const Row &trip)
{
    const QDateTime departs = parseDateTimeText(trip.caption);
    const QDateTime arrives = parseDateTimeText(trip.subItem(TripSubItem::ArrivalTime));
    const double distance = parseNumberText(trip.subItem(TripSubItem::Distance));
    setDeparture(departs);
    AbfahrtEd->setText(trip.subItem(TripSubItem::DeparturePlace));
    setArrival(arrives);
    AnkunftEd->setText(trip.subItem(TripSubItem::ArrivalPlace));
    KMED->setValue(distance);
    QString purpose = trip.subItem(TripSubItem::Purpose);
    ZweckEd->setPlainText(purpose.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    (isBusinessTrip(trip) ? RadioButton1 : RadioButton2)->setChecked(true);
}

void TFahrtForm::clearTexts()
{
    AbfahrtEd->clear();
    AnkunftEd->clear();
    ZweckEd->clear();
    KMED->setValue(0);
}

Row TFahrtForm::tripRow() const
{
    QString purpose = ZweckEd->toPlainText();
    purpose.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    Row trip;
    trip.caption = formatDateTimeText(departure());
    trip.subItems = {
        AbfahrtEd->text(), formatDateTimeText(arrival()),
        AnkunftEd->text(), formatNumberText(KMED->value()),
        purpose,           RadioButton1->isChecked() ? kBusinessTripKind : kPrivateTripKind};
    return trip;
}

void TFahrtForm::ComboBox1Change()
{
    const int chosen = ComboBox1->currentIndex();
    if (chosen < 0 || chosen >= m_templates.count())
        return;
    const Row &entry = m_templates.at(chosen);
    AbfahrtEd->setText(entry.subItem(TemplateSubItem::DeparturePlace));
    AnkunftEd->setText(entry.subItem(TemplateSubItem::ArrivalPlace));
    KMED->setValue(parseNumberText(entry.subItem(TemplateSubItem::Distance)));
    QString purpose = entry.subItem(TemplateSubItem::Purpose);
    ZweckEd->setPlainText(purpose.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    const bool business = entry.subItem(TemplateSubItem::Kind) == kBusinessTripKind;
    (business ? RadioButton1 : RadioButton2)->setChecked(true);
}

void TFahrtForm::KMEDChange()
{
    if (m_updating)
        return;
    m_updating = true;
    KM2Ed->setValue(KM1Ed->value() + KMED->value());
    m_updating = false;
}

void TFahrtForm::KM2EdChange()
{
    if (m_updating)
        return;
    m_updating = true;
    KMED->setValue(KM2Ed->value() - KM1Ed->value());
    m_updating = false;
}

void TFahrtForm::OkBtnClick()
{
    // The pickers hold the combined moments from here on.
    setDeparture(departure());
    setArrival(arrival());
    if (arrival() <= departure())
        return refuseInput(
            m_prompts, *this,
            QStringLiteral("Der Abfahrtszeitpunkt muss vor der Ankunftszeit liegen."),
            *DateTimePicker4);
    if (placesAndPurposeGiven(m_prompts, *this, *AbfahrtEd, *AnkunftEd, *ZweckEd))
        accept();
}

} // namespace fb
