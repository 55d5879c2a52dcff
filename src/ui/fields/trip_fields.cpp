#include "trip_fields.h"

#include "completion_popup.h"
#include "date_field.h"
#include "input_checks.h"
#include "named_widget.h"
#include "number_field.h"
#include "text_from_start.h"
#include "time_field.h"

#include "model/row.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"
#include "model/trip_suggestions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace fb {
namespace {

// Moments are plain wall-clock values, as the text forms hold them: no daylight-saving gaps.
QDateTime combine(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

// The tables hold line breaks as CR LF; the text field as plain line feeds.
QString withLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString withCrLf(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

} // namespace

TripFields::TripFields(Moments moments, QWidget *parent)
    : QWidget(parent), m_grid(new QGridLayout(this))
{
    setObjectName(QStringLiteral("TripFields"));
    m_grid->setContentsMargins(0, 0, 0, 0);
    if (moments == Moments::Shown) {
        DateTimePicker1 = named(new DateField(this), "DateTimePicker1");
        DateTimePicker2 = named(new TimeField(this), "DateTimePicker2");
        DateTimePicker3 = named(new DateField(this), "DateTimePicker3");
        DateTimePicker4 = named(new TimeField(this), "DateTimePicker4");
    }
    AbfahrtEd = named(new QLineEdit(this), "AbfahrtEd");
    AnkunftEd = named(new QLineEdit(this), "AnkunftEd");
    KMED = named(new NumberField(NumberField::Kind::Decimal, this), "KMED");
    ZweckEd = named(new QPlainTextEdit(this), "ZweckEd");
    RadioButton1 = named(new QRadioButton(QStringLiteral("Geschäftlich"), this), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Privat"), this), "RadioButton2");

    ZweckEd->setLineWrapMode(QPlainTextEdit::NoWrap);
    ZweckEd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZweckEd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZweckEd->setTabChangesFocus(true);
    RadioButton1->setChecked(true);

    if (DateTimePicker1)
        addRow(m_nextRow++, QStringLiteral("Abfahr&tzeit"), DateTimePicker1, DateTimePicker2);
    addRow(m_nextRow++, QStringLiteral("&Abfahrtsort:"), AbfahrtEd);
    if (DateTimePicker3)
        addRow(m_nextRow++, QStringLiteral("Ank&uftszeit:"), DateTimePicker3, DateTimePicker4);
    addRow(m_nextRow++, QStringLiteral("Ankunfts&ort:"), AnkunftEd);
    addRow(m_nextRow++, QStringLiteral("&Entfernung:"), KMED,
           new QLabel(QStringLiteral("Kilometer"), this));
    const int purposeRow = m_nextRow++;
    addRow(purposeRow, QStringLiteral("&Fahrtzweck:"), ZweckEd);
    m_grid->itemAtPosition(purposeRow, 0)->setAlignment(Qt::AlignTop);
    m_grid->setRowStretch(purposeRow, 1);
    auto *kinds = new QWidget(this);
    auto *kindsLayout = new QHBoxLayout(kinds);
    kindsLayout->setContentsMargins(0, 0, 0, 0);
    kindsLayout->addWidget(RadioButton1);
    kindsLayout->addWidget(RadioButton2);
    kindsLayout->addStretch();
    addRow(m_nextRow, QStringLiteral("A&rt der Fahrt:"), kinds);
    // Screen readers name the choice by its label: the label speaks for its first button.
    qobject_cast<QLabel *>(m_grid->itemAtPosition(m_nextRow++, 0)->widget())
        ->setBuddy(RadioButton1);

    if (DateTimePicker1) {
        connect(DateTimePicker1, &TypedField::changed, this, &TripFields::followDepartureDate);
        connect(DateTimePicker1, &TypedField::changed, this, &TripFields::departureChanged);
        connect(DateTimePicker2, &TypedField::changed, this, &TripFields::departureChanged);
    }
    connect(KMED, &NumberField::changed, this, [this] {
        if (!m_settingDistance) {
            // Typed: the person's value, never replaced by a proposal.
            m_distanceAsSet.reset();
            if (std::exchange(m_distanceProposal, false))
                showAsProposal(QString());
        }
        Q_EMIT distanceChanged();
    });
    attachCompletion();
}

void TripFields::attachCompletion()
{
    const auto places = [this](const QString &typed) {
        return m_suggestions ? m_suggestions->matchingPlaces(typed) : QStringList();
    };
    // Down in an empty place offers where the car is first.
    const auto placesHere = [this](const QString &) {
        return m_suggestions
                   ? m_suggestions->placesBefore(DateTimePicker1 ? departure() : QDateTime())
                   : QStringList();
    };
    m_fromCompletion = new CompletionPopup(AbfahrtEd, places, placesHere);
    m_toCompletion = new CompletionPopup(AnkunftEd, places, placesHere);
    m_purposeCompletion = new CompletionPopup(ZweckEd, [this](const QString &typed) {
        return m_suggestions ? m_suggestions->matchingPurposes(typed) : QStringList();
    });
    connect(AbfahrtEd, &QLineEdit::textChanged, this, &TripFields::proposeDistance);
    connect(AnkunftEd, &QLineEdit::textChanged, this, &TripFields::proposeDistance);
}

const CompletionPopup &TripFields::completion(const QWidget &field) const
{
    return &field == AbfahrtEd   ? *m_fromCompletion
           : &field == AnkunftEd ? *m_toCompletion
                                 : *m_purposeCompletion;
}

void TripFields::setSuggestions(std::shared_ptr<const TripSuggestions> suggestions)
{
    m_suggestions = std::move(suggestions);
}

void TripFields::proposeDistance()
{
    // Only a distance nobody typed: as prepared, or proposed before.
    if (!m_proposesDistance || !m_suggestions || !m_distanceAsSet)
        return;
    const std::optional<TripSuggestions::Distance> earlier =
        m_suggestions->distanceBetween(AbfahrtEd->text(), AnkunftEd->text());
    if (!earlier && !m_distanceProposal)
        return;
    m_settingDistance = true;
    KMED->setValue(earlier ? earlier->kilometres : m_preparedDistance);
    m_distanceAsSet = earlier ? earlier->kilometres : m_preparedDistance;
    m_distanceProposal = earlier.has_value();
    m_settingDistance = false;
    showAsProposal(earlier ? earlier->source : QString());
    Q_EMIT distanceChanged();
}

void TripFields::showAsProposal(const QString &source)
{
    QFont font = KMED->font();
    font.setItalic(!source.isEmpty());
    KMED->setFont(font);
    KMED->setToolTip(source);
    KMED->setAccessibleDescription(source);
}

void TripFields::followDepartureDate()
{
    const QDate now = DateTimePicker1->date();
    if (!now.isValid())
        return;
    // Moves along only while the two dates are one: a trip over midnight keeps its own.
    if (m_departureDate.isValid() && now != m_departureDate &&
        DateTimePicker3->date() == m_departureDate)
        DateTimePicker3->setDate(now);
    m_departureDate = now;
}

void TripFields::addRow(int row, const QString &label, QWidget *field, QWidget *beside)
{
    auto *caption = new QLabel(label, this);
    caption->setBuddy(field);
    m_grid->addWidget(caption, row, 0);
    if (!beside) {
        m_grid->addWidget(field, row, 1);
        return;
    }
    auto *pair = new QHBoxLayout;
    pair->addWidget(field, 1);
    pair->addWidget(beside);
    m_grid->addLayout(pair, row, 1);
}

void TripFields::setLeadingRow(const QString &label, QWidget *field)
{
    field->setParent(this);
    addRow(0, label, field);
}

void TripFields::addTrailingRow(const QString &label, QWidget *field, QWidget *beside)
{
    field->setParent(this);
    if (beside)
        beside->setParent(this);
    addRow(m_nextRow++, label, field, beside);
}

void TripFields::setKeyboardOrder(QWidget *before, const QList<QWidget *> &afterKind)
{
    QList<QWidget *> order;
    if (before)
        order.append(before);
    if (DateTimePicker1)
        order << DateTimePicker1 << DateTimePicker2;
    order.append(AbfahrtEd);
    if (DateTimePicker3)
        order << DateTimePicker3 << DateTimePicker4;
    order << AnkunftEd << KMED << RadioButton1 << RadioButton2;
    order << afterKind;
    order.append(ZweckEd);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
}

void TripFields::focusFirstField()
{
    if (DateTimePicker1) {
        DateTimePicker1->setFocus(Qt::TabFocusReason);
        DateTimePicker1->selectAll();
    } else {
        AbfahrtEd->setFocus(Qt::TabFocusReason);
        selectAllFromStart(*AbfahrtEd);
    }
}

void TripFields::setDeparture(const QDateTime &moment)
{
    // Set by the command: the arrival is set on its own.
    m_departureDate = moment.date();
    DateTimePicker1->setDate(moment.date());
    DateTimePicker2->setTime(moment.time());
}

void TripFields::setArrival(const QDateTime &moment)
{
    DateTimePicker3->setDate(moment.date());
    DateTimePicker4->setTime(moment.time());
}

QDateTime TripFields::departure() const
{
    return combine(DateTimePicker1->date(), DateTimePicker2->time());
}

QDateTime TripFields::arrival() const
{
    return combine(DateTimePicker3->date(), DateTimePicker4->time());
}

void TripFields::setPlaces(const QString &from, const QString &to)
{
    fillFromStart(*AbfahrtEd, from);
    fillFromStart(*AnkunftEd, to);
}

QString TripFields::departurePlace() const
{
    return AbfahrtEd->text();
}

QString TripFields::arrivalPlace() const
{
    return AnkunftEd->text();
}

void TripFields::setDistance(double kilometres)
{
    // Kept before the field announces its new text, so that the end reading follows it.
    m_distanceAsSet = kilometres;
    m_preparedDistance = kilometres;
    if (std::exchange(m_distanceProposal, false))
        showAsProposal(QString());
    m_settingDistance = true;
    KMED->setValue(kilometres);
    m_settingDistance = false;
}

void TripFields::showDistance(double kilometres)
{
    m_distanceAsSet.reset();
    KMED->setValue(kilometres);
}

double TripFields::distance() const
{
    return m_distanceAsSet.value_or(KMED->value());
}

void TripFields::setPurpose(const QString &purpose)
{
    ZweckEd->setPlainText(withLineFeeds(purpose));
}

QString TripFields::purpose() const
{
    return withCrLf(ZweckEd->toPlainText());
}

void TripFields::setBusiness(bool business)
{
    (business ? RadioButton1 : RadioButton2)->setChecked(true);
}

bool TripFields::isBusiness() const
{
    return RadioButton1->isChecked();
}

void TripFields::clearTexts()
{
    AbfahrtEd->clear();
    AnkunftEd->clear();
    ZweckEd->clear();
    setDistance(0);
}

void TripFields::applyTemplate(const Row &entry)
{
    fillFromStart(*AbfahrtEd, entry.subItem(TemplateSubItem::DeparturePlace));
    fillFromStart(*AnkunftEd, entry.subItem(TemplateSubItem::ArrivalPlace));
    setDistance(parseNumberText(entry.subItem(TemplateSubItem::Distance)));
    setPurpose(entry.subItem(TemplateSubItem::Purpose));
    setBusiness(entry.subItem(TemplateSubItem::Kind) == kBusinessTripKind);
}

bool TripFields::momentsReadable(Prompts &prompts, QWidget &dialog)
{
    const QList<TypedField *> fields = {DateTimePicker1, DateTimePicker2, DateTimePicker3,
                                        DateTimePicker4};
    for (TypedField *field : fields) {
        if (field && !field->isInputValid()) {
            refuseInput(prompts, dialog, field->invalidInputMessage(), *field);
            return false;
        }
    }
    return true;
}

bool TripFields::placesAndPurposeGiven(Prompts &prompts, QWidget &dialog)
{
    if (AbfahrtEd->text().isEmpty()) {
        refuseInput(prompts, dialog, QStringLiteral("Geben Sie einen Abfahrtsort ein."),
                    *AbfahrtEd);
        return false;
    }
    if (AnkunftEd->text().isEmpty()) {
        refuseInput(prompts, dialog, QStringLiteral("Geben Sie einen Ankunftsort ein."),
                    *AnkunftEd);
        return false;
    }
    if (ZweckEd->toPlainText().isEmpty()) {
        refuseInput(prompts, dialog,
                    QStringLiteral("Geben Sie einen Fahrtzweck ein (z.B. Besuch von Kunde xxx)."),
                    *ZweckEd);
        return false;
    }
    return true;
}

bool TripFields::distancePlausible(Prompts &prompts, QWidget &dialog)
{
    // A text that reads as no number would be stored as 0; an ambiguous full stop says why.
    if (!m_distanceAsSet && !KMED->isInputValid()) {
        refuseInput(prompts, dialog, KMED->invalidInputMessage(), *KMED);
        return false;
    }
    // Beyond that the end reading's bounds would no longer hold the distance.
    const double kilometres = distance();
    if (!(kilometres >= 0 && kilometres <= kLongestTripKm)) {
        refuseInput(prompts, dialog,
                    QStringLiteral("Die Entfernung muss zwischen 0 und 100000 Kilometern liegen."),
                    *KMED);
        return false;
    }
    return true;
}

QWidget &TripFields::arrivalTimeField() const
{
    return *DateTimePicker4;
}

} // namespace fb
