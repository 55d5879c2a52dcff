#pragma once

#include "model/master_data.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace fb {

class DateField;
class NumberField;
class Prompts;

// The master data of keeper and vehicle. The dialog is given a record and edits its own copy:
// every change lands in the copy as it is made, so closing the dialog in any way keeps it; there
// is no cancel button. A date or start reading that does not read is refused by OK; closed
// otherwise, the dialog keeps the value the field held before, and shows it.
class TStammForm : public QDialog {
    Q_OBJECT
public:
    TStammForm(Prompts &prompts, const MasterData &record, QWidget *parent = nullptr);

    // The record as the dialog holds it, with every change made so far.
    const MasterData &record() const { return m_record; }

    void OkBtnClick();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *OkBtn;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QLineEdit *Edit4;
    QLineEdit *Edit5;
    QLineEdit *Edit6;
    QLineEdit *Edit7;
    QLineEdit *Edit8;
    QLineEdit *Edit9;
    NumberField *RxSpinEdit1;
    DateField *DateTimePicker1;
    QLineEdit *Edit10;
    DateField *DateTimePicker2;
    void buildLayout();
    // Fills the fields from the record without writing back.
    void showRecord();
    void connectToRecord();
    void keepStartReading();
    // Stores a picked date and keeps the time of day the stored value holds.
    void storeDate(double *stored, const QDate &picked);

    Prompts &m_prompts;
    MasterData m_record;
    bool m_filling = false;
};

} // namespace fb
