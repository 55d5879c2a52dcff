#pragma once

#include "model/logbook_operation.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fb {

class DateField;
class Prompts;

// The print options: what the printed logbook holds, its heading and its two fonts. The
// dialog is given the logbook's options and gives back what the user set, whichever way it
// was closed. The fonts are chosen in two font dialogs of their own and count at once.
class TDruckenForm : public QDialog {
    Q_OBJECT
public:
    TDruckenForm(Prompts &prompts, const SetPrintOptions &options, QWidget *parent = nullptr);

    // The options as the controls and the chosen fonts hold them. A range date the user did
    // not change keeps its given value, time of day included.
    SetPrintOptions chosenOptions() const;

    // Refuses a range date that does not read; the other settings need no check.
    void OkBtnClick();
    void done(int result) override;

    void BitBtnXP1Click();
    void BitBtnXP2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *OkBtn;
    QPushButton *BitBtn2;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QLabel *Label1;
    DateField *DateTimePicker1;
    QLabel *Label2;
    DateField *DateTimePicker2;
    QCheckBox *StammCheck;
    QCheckBox *privatcheck;
    QCheckBox *geschaeftcheck;
    QLabel *Label3;
    QLineEdit *CaptionEd;
    QCheckBox *AuswertCheck;
    QPushButton *BitBtnXP1;
    QPushButton *BitBtnXP2;
    QCheckBox *KiloCheck;
    QCheckBox *PrintTimeCheck;
    QFrame *Bevel1;
    void showOptions();
    void chooseFont(const char *dialogName, PrintFont &font);

    Prompts &m_prompts;
    // The options as given, with the fonts as chosen since.
    SetPrintOptions m_options;
    // What the date pickers showed, to tell a changed date from an unchanged one.
    QDate m_shownFrom;
    QDate m_shownTo;
};

} // namespace fb
