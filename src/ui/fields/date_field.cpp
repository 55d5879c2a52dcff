#include "date_field.h"

#include "calendar_popup.h"
#include "typed_moment.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace fb {
namespace {

const QDate kFirstDate(1, 1, 1);
const QDate kLastDate(9999, 12, 31);
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QDate clampedDate(const QDate &date)
{
    return std::clamp(date, kFirstDate, kLastDate);
}

} // namespace

DateField::DateField(QWidget *parent) : MomentField(parent)
{
    // The arrow of the calendar takes the place of the spin buttons.
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    lineEdit()->setText(formattedValue());
}

QDate DateField::date() const
{
    return readTypedDate(lineEdit()->text()).value_or(m_date);
}

void DateField::setDate(const QDate &date)
{
    if (!date.isValid())
        return;
    setCommittedText(clampedDate(date).toString(kDateFormat));
}

bool DateField::reads(const QString &text) const
{
    return readTypedDate(text).has_value();
}

bool DateField::adopt(const QString &text)
{
    const std::optional<QDate> typed = readTypedDate(text);
    if (!typed || *typed == m_date)
        return false;
    m_date = *typed;
    return true;
}

QString DateField::invalidInputMessage() const
{
    const QString text = lineEdit()->text();
    if (reads(text))
        return {};
    if (text.isEmpty())
        return QStringLiteral("Geben Sie ein Datum ein (TT.MM.JJJJ).");
    return QStringLiteral("\"%1\" ist kein gültiges Datum. Geben Sie das Datum als TT.MM.JJJJ ein.")
        .arg(text);
}

QString DateField::formattedValue() const
{
    return m_date.toString(kDateFormat);
}

QString DateField::steppedText(int section, int steps) const
{
    const QDate from = date();
    QDate stepped;
    switch (section) {
    case 0:
        stepped = from.addDays(steps);
        break;
    case 1:
        stepped = from.addMonths(steps);
        break;
    default:
        stepped = from.addYears(steps);
        break;
    }
    return clampedDate(stepped).toString(kDateFormat);
}

QStyleOptionComboBox DateField::comboOption() const
{
    QStyleOptionSpinBox spin;
    initStyleOption(&spin);
    QStyleOptionComboBox combo;
    combo.initFrom(this);
    combo.editable = true;
    combo.frame = spin.frame;
    combo.subControls =
        QStyle::SC_ComboBoxFrame | QStyle::SC_ComboBoxEditField | QStyle::SC_ComboBoxArrow;
    combo.state = spin.state;
    if (isReadOnly())
        combo.state &= ~QStyle::State_Enabled;
    return combo;
}

void DateField::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.drawComplexControl(QStyle::CC_ComboBox, comboOption());
}

QSize DateField::sizeHint() const
{
    const QStyleOptionComboBox option = comboOption();
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, textSize(), this);
}

void DateField::placeEditField()
{
    const QStyleOptionComboBox option = comboOption();
    lineEdit()->setGeometry(
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this));
}

void DateField::resizeEvent(QResizeEvent *event)
{
    MomentField::resizeEvent(event);
    placeEditField();
}

void DateField::showEvent(QShowEvent *event)
{
    MomentField::showEvent(event);
    placeEditField();
}

void DateField::changeEvent(QEvent *event)
{
    MomentField::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        placeEditField();
}

void DateField::mousePressEvent(QMouseEvent *event)
{
    const QStyleOptionComboBox option = comboOption();
    const QRect arrow =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    if (event->button() == Qt::LeftButton && arrow.contains(event->position().toPoint())) {
        event->accept();
        showCalendar();
        return;
    }
    MomentField::mousePressEvent(event);
}

void DateField::keyPressEvent(QKeyEvent *event)
{
    const bool dropDown = event->key() == Qt::Key_F4 ||
                          (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (dropDown) {
        event->accept();
        showCalendar();
        return;
    }
    MomentField::keyPressEvent(event);
}

void DateField::showCalendar()
{
    if (isReadOnly())
        return;
    if (!m_calendar) {
        m_calendar = new CalendarPopup(this);
        connect(m_calendar, &CalendarPopup::picked, this, [this](const QDate &picked) {
            setDate(picked);
            setFocus(Qt::PopupFocusReason);
            selectAll();
        });
    }
    m_calendar->showFor(date());
}

} // namespace fb
