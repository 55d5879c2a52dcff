#include "number_field.h"

#include "core/error.h"
#include "model/text_forms.h"

#include <QLineEdit>

#include <cmath>
#include <limits>

namespace fb {
namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('.');
}

bool isExponent(QChar c)
{
    return c == QLatin1Char('e') || c == QLatin1Char('E');
}

// A full stop followed by exactly three digits, as Germans group thousands: "48.725".
bool looksGrouped(const QString &text, qsizetype separator)
{
    if (separator < 0 || text.at(separator) != QLatin1Char('.'))
        return false;
    qsizetype digits = 0;
    qsizetype i = separator + 1;
    while (i < text.size() && isDigit(text.at(i))) {
        ++digits;
        ++i;
    }
    return digits == 3 && (i == text.size() || isExponent(text.at(i)));
}

bool fitsWholeNumber(double value)
{
    return value >= std::numeric_limits<qint32>::min() &&
           value <= std::numeric_limits<qint32>::max();
}

} // namespace

NumberField::NumberField(Kind kind, QWidget *parent) : TypedField(parent), m_kind(kind)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    setAccelerated(false);
    lineEdit()->setText(textFor(0));
}

NumberField::Reading NumberField::read(const QString &text, double *value) const
{
    // The shape first: only what a number holds, each part once and in its place.
    qsizetype separator = -1;
    qsizetype exponent = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isDigit(c))
            continue;
        if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            if (i == 0 || (exponent >= 0 && i == exponent + 1))
                continue;
            return Reading::Refused;
        }
        if (isSeparator(c) && separator < 0 && exponent < 0) {
            separator = i;
            continue;
        }
        if (isExponent(c) && m_kind == Kind::Decimal && exponent < 0) {
            exponent = i;
            continue;
        }
        return Reading::Refused;
    }
    QString decimalComma = text;
    if (looksGrouped(text, separator)) {
        // A decimal may have three decimals, so "48.725" could be either; a whole number has
        // no decimals, so there the full stop can only group thousands.
        if (m_kind == Kind::Decimal)
            return Reading::Ambiguous;
        decimalComma.remove(separator, 1);
    } else if (separator >= 0) {
        decimalComma[separator] = QLatin1Char(',');
    }
    try {
        *value = parseNumberText(decimalComma);
    } catch (const ConversionError &) {
        return Reading::NotANumber;
    }
    if (!std::isfinite(*value))
        return Reading::NotANumber;
    if (m_kind == Kind::WholeNumber) {
        // Halves go to the even neighbour, as the default rounding mode does.
        *value = std::nearbyint(*value);
        if (!fitsWholeNumber(*value))
            return Reading::Refused;
    }
    return Reading::Number;
}

double NumberField::value() const
{
    double parsed = 0;
    if (read(text(), &parsed) != Reading::Number)
        return m_minimum;
    return parsed;
}

QString NumberField::invalidInputMessage() const
{
    const QString typed = text();
    double parsed = 0;
    switch (read(typed, &parsed)) {
    case Reading::Number:
        return {};
    case Reading::Ambiguous: {
        QString withComma = typed;
        withComma.replace(QLatin1Char('.'), QLatin1Char(','));
        QString withoutStop = typed;
        withoutStop.remove(QLatin1Char('.'));
        return QStringLiteral(
                   "\"%1\" ist mehrdeutig: Geben Sie %2 ohne Punkt oder %3 mit Komma ein.")
            .arg(typed, withoutStop, withComma);
    }
    case Reading::NotANumber:
    case Reading::Refused:
        break;
    }
    if (typed.isEmpty())
        return QStringLiteral("Geben Sie eine Zahl ein.");
    return QStringLiteral("\"%1\" ist keine gültige Zahl.").arg(fileTextForMessage(typed));
}

QString NumberField::textFor(double value) const
{
    if (m_kind == Kind::WholeNumber) {
        const double rounded = std::nearbyint(value);
        if (fitsWholeNumber(rounded))
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
    double parsed = 0;
    switch (read(input, &parsed)) {
    case Reading::Number:
        return QValidator::Acceptable;
    case Reading::Refused:
        return QValidator::Invalid;
    case Reading::NotANumber:
    case Reading::Ambiguous:
        break;
    }
    return QValidator::Intermediate;
}

void NumberField::focusOutEvent(QFocusEvent *event)
{
    // Leaving the field shows how the text was read: a whole number rounded, the decimal
    // comma in place of a typed full stop, a value outside the bounds at the nearer bound.
    double typed = 0;
    if (read(text(), &typed) == Reading::Number) {
        if (m_kind == Kind::WholeNumber || clamped(typed) != typed) {
            setValue(typed);
        } else if (text().contains(QLatin1Char('.'))) {
            QString decimalComma = text();
            decimalComma.replace(QLatin1Char('.'), QLatin1Char(','));
            setText(decimalComma);
        }
    }
    TypedField::focusOutEvent(event);
}

} // namespace fb
