#include "typed_field.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace fb {
namespace {

// A pale red that every theme's text stays readable on.
const QColor kInvalidBase(255, 221, 221);

} // namespace

TypedField::TypedField(QWidget *parent) : QAbstractSpinBox(parent)
{
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        showValidity();
        Q_EMIT changed();
    });
}

QString TypedField::textAfter(const QKeyEvent &event, int *cursor) const
{
    QString inserted;
    if (event.matches(QKeySequence::Paste)) {
        inserted = QGuiApplication::clipboard()->text();
    } else {
        const Qt::KeyboardModifiers typing = Qt::ShiftModifier | Qt::KeypadModifier;
        if (event.text().isEmpty() || !event.text().at(0).isPrint() ||
            (event.modifiers() & ~typing))
            return {};
        inserted = event.text();
    }
    const QLineEdit *edit = lineEdit();
    QString text = edit->text();
    int at = edit->cursorPosition();
    if (edit->hasSelectedText()) {
        at = edit->selectionStart();
        text.remove(at, edit->selectedText().size());
    }
    text.insert(at, inserted);
    *cursor = at + int(inserted.size());
    return text;
}

void TypedField::keyPressEvent(QKeyEvent *event)
{
    int cursor = 0;
    QString candidate = textAfter(*event, &cursor);
    if (!isReadOnly() && !candidate.isNull() &&
        validate(candidate, cursor) == QValidator::Invalid) {
        // The line edit would drop the key without a sign; the person must notice.
        QApplication::beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TypedField::showValidity()
{
    const QString reason = invalidInputMessage();
    const bool invalid = !reason.isEmpty();
    setToolTip(reason);
    setAccessibleDescription(reason);
    if (invalid == m_markedInvalid)
        return;
    m_markedInvalid = invalid;
    if (!invalid) {
        // Back to the inherited colours, so that later changes of the look reach the field.
        setPalette(QPalette());
        return;
    }
    QPalette marked = QApplication::palette(this);
    marked.setColor(QPalette::Base, kInvalidBase);
    setPalette(marked);
}

} // namespace fb
