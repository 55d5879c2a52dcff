#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace fb {

struct MasterData;
class NumberField;

// The master data of keeper and vehicle. The dialog edits the record in place: every change
// lands in the record as it is made, so closing the dialog in any way keeps it; there is no
// cancel button.
class TStammForm : public QDialog {
    Q_OBJECT
public:
    explicit TStammForm(MasterData &record, QWidget *parent = nullptr);

    // Fills the fields from the record, which a loaded file may have replaced since.
    void showRecord();

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
    QDateEdit *DateTimePicker1;
    QLineEdit *Edit10;
    QDateEdit *DateTimePicker2;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void connectToRecord();
    // Stores a picked date and keeps the time of day the stored value holds.
    void storeDate(double *stored, const QDate &picked);

    MasterData &m_record;
    bool m_filling = false;
};

} // namespace fb
