#pragma once

#include "typed_field.h"

namespace fb {

// An input field that holds a number as its text. The decimal kind shows two decimals with
// the decimal comma ("0,00"); the whole-number kind shows no decimals. People type a full stop
// or a comma as the decimal separator. A full stop before exactly three digits ("48.725") groups
// thousands in a whole number (48725); in a decimal it is marked as ambiguous rather than
// guessed. Text that does not read as a number reads as the lower bound. Bounds apply only when
// they differ: a value set by the program is clamped, a typed value outside them becomes the
// nearer bound when the field loses the focus. Spin buttons and arrow keys step by 1, unless the
// field is read-only.
class NumberField : public TypedField {
    Q_OBJECT
public:
    enum class Kind { Decimal, WholeNumber };

    explicit NumberField(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }

    double value() const;
    void setValue(double value);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    void setRange(double minimum, double maximum);
    bool hasBounds() const { return m_minimum != m_maximum; }

    // Replaces the text as typing would: neither formatted nor clamped.
    void setText(const QString &text);

    // The text as the field writes a value, without clamping.
    QString textFor(double value) const;

    QString invalidInputMessage() const override;

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    enum class Reading { Number, NotANumber, Ambiguous, Refused };
    // What a text holds: a number (in *value), a text on its way to one, a full stop in a
    // decimal that may group thousands, or a text no typing can make a number of (a stray
    // character, a second separator, a whole number beyond 32 bits).
    Reading read(const QString &text, double *value) const;
    double clamped(double value) const;

    Kind m_kind;
    double m_minimum = 0;
    double m_maximum = 0;
};

} // namespace fb
