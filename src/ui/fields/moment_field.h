#pragma once

#include "typed_field.h"

namespace fb {

// A date or a time of day as three sections of digits ("05.10.2026", "08:15:00"). The person
// types the whole text in any form the moment reader takes; until the field loses the focus
// the text stays as typed, then it shows the value in the field's own form. A text that does
// not read is marked and leaves the last committed value in place: the value the program set,
// stepped or picked, or a valid text the person left the field with or confirmed with Enter,
// never a value the text passed through while it was typed. The arrow keys and the spin buttons
// step the section the cursor stands in.
class MomentField : public TypedField {
    Q_OBJECT
public:
    explicit MomentField(QWidget *parent = nullptr);

    // Takes a text that reads as the committed value; shows a text that does not the last
    // committed value again, in the field's own form: what a dialog keeps when it closes.
    void commitOrRevert();
    // Takes the text as the committed value, when it reads as one.
    void commit();

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // The committed value changed.
    void valueChanged();

protected:
    // Whether the text stands for a value.
    virtual bool reads(const QString &text) const = 0;
    // Takes the value the text stands for as the committed one; true when it changed.
    virtual bool adopt(const QString &text) = 0;
    // The value, stepped by steps in section 0, 1 or 2, in the field's own form. Steps start
    // from what the text says, or from the committed value when it says nothing.
    virtual QString steppedText(int section, int steps) const = 0;
    // The committed value in the field's own form.
    virtual QString formattedValue() const = 0;
    virtual bool isSeparator(QChar c) const = 0;
    // How many characters the text may hold, so that a stray key does not grow it.
    virtual int longestText() const = 0;
    // A text as wide as the widest value, for the field's size.
    virtual QString widestText() const = 0;

    // Shows text as the program sets it, and commits it.
    void setCommittedText(const QString &text);
    // The size the line edit needs for the widest text.
    QSize textSize() const;

    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString &input, int &pos) const override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showCommittedValue();
    int sectionAtCursor() const;
    void selectSection(int section);
};

} // namespace fb
