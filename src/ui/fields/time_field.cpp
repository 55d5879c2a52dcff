#include "time_field.h"

#include "typed_moment.h"

#include <QLineEdit>

namespace fb {
namespace {

const QString kTimeFormat = QStringLiteral("HH:mm:ss");

// The field shows whole seconds; a moment from the clock must not differ from what it shows.
QTime wholeSeconds(const QTime &time)
{
    return time.isValid() ? QTime(time.hour(), time.minute(), time.second()) : QTime(0, 0);
}

} // namespace

TimeField::TimeField(QWidget *parent) : MomentField(parent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    lineEdit()->setText(formattedValue());
}

QTime TimeField::time() const
{
    return readTypedTime(lineEdit()->text()).value_or(m_time);
}

void TimeField::setTime(const QTime &time)
{
    setCommittedText(wholeSeconds(time).toString(kTimeFormat));
}

bool TimeField::reads(const QString &text) const
{
    return readTypedTime(text).has_value();
}

bool TimeField::adopt(const QString &text)
{
    const std::optional<QTime> typed = readTypedTime(text);
    if (!typed || *typed == m_time)
        return false;
    m_time = *typed;
    return true;
}

QString TimeField::invalidInputMessage() const
{
    const QString text = lineEdit()->text();
    if (reads(text))
        return {};
    if (text.isEmpty())
        return QStringLiteral("Geben Sie eine Uhrzeit ein (HH:MM).");
    return QStringLiteral("\"%1\" ist keine gültige Uhrzeit. Geben Sie die Uhrzeit als HH:MM oder "
                          "HH:MM:SS ein.")
        .arg(text);
}

QString TimeField::formattedValue() const
{
    return m_time.toString(kTimeFormat);
}

QString TimeField::steppedText(int section, int steps) const
{
    static constexpr int kSecondsPerSection[] = {3600, 60, 1};
    const QTime from = time();
    // Round the clock, as a watch is set.
    return from.addSecs(kSecondsPerSection[section] * steps).toString(kTimeFormat);
}

} // namespace fb
