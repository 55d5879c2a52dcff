#include "number_field.h"

#include "core/error.h"
#include "model/text_forms.h"

#include <QLineEdit>

#include <cmath>
#include <limits>

namespace fb {

NumberField::NumberField(Kind kind, QWidget *parent) : QAbstractSpinBox(parent), m_kind(kind)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    setAccelerated(false);
    lineEdit()->setText(textFor(0));
    connect(lineEdit(), &QLineEdit::textChanged, this, &NumberField::changed);
}

bool NumberField::parse(const QString &text, double *value) const
{
    if (m_kind == Kind::WholeNumber) {
        bool ok = false;
        const int whole = text.trimmed().toInt(&ok);
        *value = whole;
        return ok;
    }
    try {
        *value = parseNumberText(text);
        return std::isfinite(*value);
    } catch (const ConversionError &) {
        return false;
    }
}

double NumberField::value() const
{
    double parsed = 0;
    if (!parse(text(), &parsed))
        return m_minimum;
    return parsed;
}

QString NumberField::textFor(double value) const
{
    if (m_kind == Kind::WholeNumber) {
        // Halves go to the even neighbour, as the default rounding mode does.
        const double rounded = std::nearbyint(value);
        if (rounded >= std::numeric_limits<qint32>::min() &&
            rounded <= std::numeric_limits<qint32>::max())
            return QString::number(static_cast<qint32>(rounded));
        return QString::number(rounded, 'f', 0);
    }
    QString text = QString::number(value, 'f', 2);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

double NumberField::clamped(double value) const
{
    if (!hasBounds())
        return value;
    return std::clamp(value, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
}

void NumberField::setValue(double value)
{
    const QString text = textFor(clamped(value));
    if (text != lineEdit()->text())
        lineEdit()->setText(text);
}

void NumberField::setText(const QString &text)
{
    lineEdit()->setText(text);
}

void NumberField::setRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void NumberField::stepBy(int steps)
{
    if (isReadOnly())
        return;
    setValue(value() + steps);
    selectAll();
}

QAbstractSpinBox::StepEnabled NumberField::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State NumberField::validate(QString &input, int &) const
{
    // Only characters a number can hold; whether the text parses is decided when it is read.
    int separators = 0;
    int exponents = 0;
    for (const QChar c : input) {
        if (c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-'))
            continue;
        if (m_kind == Kind::Decimal && c == QLatin1Char(',') && ++separators == 1)
            continue;
        if (m_kind == Kind::Decimal && (c == QLatin1Char('e') || c == QLatin1Char('E')) &&
            ++exponents == 1)
            continue;
        return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

void NumberField::focusOutEvent(QFocusEvent *event)
{
    double typed = 0;
    if (hasBounds() && parse(text(), &typed) && clamped(typed) != typed)
        setValue(typed);
    QAbstractSpinBox::focusOutEvent(event);
}

} // namespace fb
