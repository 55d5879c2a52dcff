#pragma once

#include <QAbstractSpinBox>

namespace fb {

// A spin field whose text is the truth: a person types freely within the characters the field
// takes, and what the text means is decided when it is read. A key the field refuses leaves the
// text as it was and sounds the platform's beep, so no keystroke vanishes unnoticed; a text
// that does not read as a value is marked, with the reason as its tool tip, until it does.
class TypedField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TypedField(QWidget *parent = nullptr);

    // Why the text does not read as a value, as a German sentence; empty when it does.
    virtual QString invalidInputMessage() const = 0;
    bool isInputValid() const { return invalidInputMessage().isEmpty(); }

Q_SIGNALS:
    // The text changed, typed or set by the program.
    void changed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Call after the text changed in a way the line edit does not report (it always does
    // today); keeps the mark in step with the text.
    void showValidity();

private:
    // The text a key or a paste would leave, or a null string when it inserts nothing.
    QString textAfter(const QKeyEvent &event, int *cursor) const;

    bool m_markedInvalid = false;
};

} // namespace fb
