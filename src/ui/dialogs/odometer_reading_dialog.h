#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QTime>

class QLineEdit;
class QPushButton;

namespace fb {

class DateField;
class NumberField;
class Prompts;
class TimeField;

// What the odometer showed at a moment, as the dialog takes and gives it.
struct OdometerReadingInput {
    QDate date;
    QTime time;
    double km = 0;
    QString note;
};

// Asks what the odometer showed, when, and why it was read ("Tanken", "Inspektion"). It is
// made for each reading and starts from the values given; the reading field starts empty, so
// that what is stored is what was typed off the car and not the logbook's own figure.
class OdometerReadingDialog : public QDialog {
    Q_OBJECT
public:
    // The longest note: a few words, not a story.
    static constexpr int kLongestNote = 200;

    OdometerReadingDialog(Prompts &prompts, const QDate &date, const QTime &time,
                          QWidget *parent = nullptr);

    OdometerReadingInput values() const;

    void OkBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Prompts &m_prompts;
    DateField *m_date;
    TimeField *m_time;
    NumberField *m_km;
    QLineEdit *m_note;
    QPushButton *OkBtn;
    QPushButton *BitBtn2;
};

} // namespace fb
