#include "fahrt_form.h"

#include "ui/fields/button_row.h"
#include "ui/fields/named_widget.h"
#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"
#include "ui/fields/input_checks.h"
#include "ui/fields/number_field.h"
#include "ui/fields/trip_fields.h"
#include "ui/window/prompts.h"

#include "core/error.h"
#include "model/row_table.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fb {

TFahrtForm::TFahrtForm(Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts),
      m_fields(new TripFields(TripFields::Moments::Shown, this))
{
    setObjectName(QStringLiteral("FahrtForm"));
    setWindowTitle(QStringLiteral("Neue Fahrt"));

    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox1->setEditable(false);
    KM1Ed = named(new NumberField(NumberField::Kind::Decimal, this), "KM1Ed");
    KM2Ed = named(new NumberField(NumberField::Kind::Decimal, this), "KM2Ed");
    OkBtn = named(new QPushButton(QStringLiteral("OK"), this), "OkBtn");
    BitBtn2 = named(new QPushButton(QStringLiteral("Abbrechen"), this), "BitBtn2");
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    setButtonLook(*BitBtn2, ButtonIcon::Cancel);
    KM1Ed->setReadOnly(true);
    KM1Ed->setButtonSymbols(QAbstractSpinBox::NoButtons);
    OkBtn->setDefault(true);

    buildLayout();
    m_fields->setKeyboardOrder(nullptr, {OkBtn, BitBtn2, ComboBox1, KM1Ed, KM2Ed});

    connect(ComboBox1, &QComboBox::activated, this, [this] {
        // A template whose distance does not parse ends the choice; what was written stays.
        try {
            ComboBox1Change();
        } catch (const Error &error) {
            m_prompts.showError(this, error.message());
        }
    });
    m_fields->setDistanceProposed(true);
    connect(m_fields, &TripFields::distanceChanged, this, &TFahrtForm::KMEDChange);
    connect(m_fields, &TripFields::departureChanged, this, &TFahrtForm::showReadingsForDeparture);
    connect(KM2Ed, &NumberField::changed, this, &TFahrtForm::KM2EdChange);
    connect(OkBtn, &QPushButton::clicked, this, &TFahrtForm::OkBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFahrtForm::buildLayout()
{
    const auto unit = [this] {
        return new QLabel(QStringLiteral("Kilometer"), this);
    };
    m_fields->setLeadingRow(QStringLiteral("&Vorlage:"), ComboBox1);
    m_fields->addTrailingRow(QStringLiteral("KM-Stand &Beginn:"), KM1Ed, unit());
    m_fields->addTrailingRow(QStringLiteral("KM-Stand E&nde:"), KM2Ed, unit());

    auto *hint = new QLabel(
        QStringLiteral("In den Stammdaten kann der Start Kilometerstand hinterlegt werden."), this);
    hint->setObjectName(QStringLiteral("HintLabel"));
    hint->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fields, 1);
    layout->addWidget(hint);
    layout->addLayout(buttonRow({OkBtn, BitBtn2}));
    setFixedSize(351, 460);
}

void TFahrtForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    // Every showing starts where the keyboard order starts, ready to type over the date.
    m_fields->focusFirstField();
}

void TFahrtForm::done(int result)
{
    m_startReadingAt = nullptr;
    QDialog::done(result);
}

void TFahrtForm::setDeparture(const QDateTime &moment)
{
    m_fields->setDeparture(moment);
}

void TFahrtForm::setArrival(const QDateTime &moment)
{
    m_fields->setArrival(moment);
}

QDateTime TFahrtForm::departure() const
{
    return m_fields->departure();
}

QDateTime TFahrtForm::arrival() const
{
    return m_fields->arrival();
}

void TFahrtForm::setBusiness(bool business)
{
    m_fields->setBusiness(business);
}

bool TFahrtForm::isBusiness() const
{
    return m_fields->isBusiness();
}

void TFahrtForm::setReadings(double start, double endMinimum, double endMaximum, double end)
{
    m_startReadingAt = nullptr;
    KM1Ed->setValue(start);
    KM2Ed->setRange(endMinimum, endMaximum);
    KM2Ed->setValue(end);
}

void TFahrtForm::followDeparture(StartReadingAt startReadingAt)
{
    m_startReadingAt = std::move(startReadingAt);
    showReadingsForDeparture();
}

void TFahrtForm::showReadingsForDeparture()
{
    if (!m_startReadingAt)
        return;
    const double start = m_startReadingAt(departure());
    KM1Ed->setValue(start);
    KM2Ed->setRange(start, start + kLongestTripKm);
    // The distance stays what it is; the end reading moves with the start.
    KMEDChange();
}

void TFahrtForm::setSuggestions(std::shared_ptr<const TripSuggestions> suggestions)
{
    m_fields->setSuggestions(std::move(suggestions));
}

void TFahrtForm::fillTemplateList(QList<Row> templates)
{
    m_templates = std::move(templates);
    ComboBox1->clear();
    for (const Row &entry : m_templates)
        ComboBox1->addItem(entry.caption);
    ComboBox1->setCurrentIndex(-1);
}

void TFahrtForm::setFromTrip(const Row &trip)
{
    const QDateTime departs = parseDateTimeText(trip.caption);
    const QDateTime arrives = parseDateTimeText(trip.subItem(TripSubItem::ArrivalTime));
    const double distance = parseNumberText(trip.subItem(TripSubItem::Distance));
    setDeparture(departs);
    setArrival(arrives);
    m_fields->setPlaces(trip.subItem(TripSubItem::DeparturePlace),
                        trip.subItem(TripSubItem::ArrivalPlace));
    m_fields->setDistance(distance);
    m_fields->setPurpose(trip.subItem(TripSubItem::Purpose));
    setBusiness(isBusinessTrip(trip));
}

void TFahrtForm::clearTexts()
{
    m_fields->clearTexts();
}

Row TFahrtForm::tripRow() const
{
    Row trip;
    trip.caption = formatDateTimeText(departure());
    trip.subItems = {
        m_fields->departurePlace(), formatDateTimeText(arrival()),
        m_fields->arrivalPlace(),   formatNumberText(m_fields->distance()),
        m_fields->purpose(),        m_fields->isBusiness() ? kBusinessTripKind : kPrivateTripKind};
    return trip;
}

void TFahrtForm::ComboBox1Change()
{
    const int chosen = ComboBox1->currentIndex();
    if (chosen < 0 || chosen >= m_templates.size())
        return;
    m_fields->applyTemplate(m_templates.at(chosen));
}

void TFahrtForm::KMEDChange()
{
    if (m_updating)
        return;
    m_updating = true;
    KM2Ed->setValue(KM1Ed->value() + m_fields->distance());
    m_updating = false;
}

void TFahrtForm::KM2EdChange()
{
    if (m_updating)
        return;
    m_updating = true;
    m_fields->showDistance(KM2Ed->value() - KM1Ed->value());
    m_updating = false;
}

void TFahrtForm::OkBtnClick()
{
    // A date or time that does not read would otherwise stand in for the last one that did.
    if (!m_fields->momentsReadable(m_prompts, *this))
        return;
    // The pickers hold the combined moments from here on.
    setDeparture(departure());
    setArrival(arrival());
    if (arrival() <= departure())
        return refuseInput(
            m_prompts, *this,
            QStringLiteral("Der Abfahrtszeitpunkt muss vor der Ankunftszeit liegen."),
            m_fields->arrivalTimeField());
    if (m_fields->placesAndPurposeGiven(m_prompts, *this) &&
        m_fields->distancePlausible(m_prompts, *this))
        accept();
}

} // namespace fb
