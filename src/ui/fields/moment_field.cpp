#include "moment_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

namespace fb {

MomentField::MomentField(QWidget *parent) : TypedField(parent) {}

QValidator::State MomentField::validate(QString &input, int &) const
{
    if (input.size() > longestText())
        return QValidator::Invalid;
    for (const QChar c : input) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && !isSeparator(c))
            return QValidator::Invalid;
    }
    return reads(input) ? QValidator::Acceptable : QValidator::Intermediate;
}

void MomentField::showCommittedValue()
{
    const QString text = formattedValue();
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

void MomentField::commit()
{
    if (!reads(lineEdit()->text()))
        return;
    const bool changed = adopt(lineEdit()->text());
    // Shown in the field's own form, so the person sees how the text was read.
    showCommittedValue();
    if (changed)
        Q_EMIT valueChanged();
}

void MomentField::commitOrRevert()
{
    commit();
    showCommittedValue();
}

void MomentField::setCommittedText(const QString &text)
{
    lineEdit()->setText(text);
    commit();
}

void MomentField::focusOutEvent(QFocusEvent *event)
{
    commit();
    TypedField::focusOutEvent(event);
}

void MomentField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        commit();
    TypedField::keyPressEvent(event);
}

QAbstractSpinBox::StepEnabled MomentField::stepEnabled() const
{
    return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

int MomentField::sectionAtCursor() const
{
    const QString text = lineEdit()->text();
    const int cursor = lineEdit()->cursorPosition();
    int section = 0;
    for (int i = 0; i < cursor && i < text.size(); ++i) {
        if (isSeparator(text.at(i)))
            ++section;
    }
    return std::min(section, 2);
}

void MomentField::selectSection(int section)
{
    const QString text = lineEdit()->text();
    int start = 0;
    for (int found = 0; found < section; ++start) {
        if (start >= text.size())
            return;
        if (isSeparator(text.at(start)))
            ++found;
    }
    int end = start;
    while (end < text.size() && !isSeparator(text.at(end)))
        ++end;
    lineEdit()->setSelection(start, end - start);
}

void MomentField::stepBy(int steps)
{
    if (isReadOnly())
        return;
    const int section = sectionAtCursor();
    setCommittedText(steppedText(section, steps));
    selectSection(section);
}

QSize MomentField::textSize() const
{
    ensurePolished();
    // Room for the cursor on both sides, as the spin boxes of the toolkit leave it.
    const int width = fontMetrics().horizontalAdvance(widestText()) + 4;
    return {width, lineEdit()->sizeHint().height()};
}

QSize MomentField::sizeHint() const
{
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, textSize(), this);
}

} // namespace fb
