#pragma once

#include <QDate>
#include <QDialog>

class QCheckBox;
class QFontDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fb {

class DateField;
class Prompts;
struct Logbook;
struct PrintFont;

// The print options: what the printed logbook holds, its heading and its two fonts. The
// settings belong to the logbook: the dialog shows them before it is shown and keeps what
// the user set afterwards, whichever way it was closed. The fonts are chosen in the main
// window's two font dialogs and take effect at once.
class TDruckenForm : public QDialog {
    Q_OBJECT
public:
    TDruckenForm(Prompts &prompts, Logbook &logbook, QFontDialog &headingFontDialog,
                 QFontDialog &textFontDialog, QWidget *parent = nullptr);

    // Sets the controls from the logbook's print settings.
    void showSettings();
    // Writes the controls back into the logbook's print settings. A range date the user did
    // not change keeps its stored value, time of day included.
    void keepSettings();

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
    void chooseFont(QFontDialog &dialog, PrintFont &font);

    Prompts &m_prompts;
    Logbook &m_logbook;
    QFontDialog &m_headingFontDialog;
    QFontDialog &m_textFontDialog;
    // What the date pickers showed, to tell a changed date from an unchanged one.
    QDate m_shownFrom;
    QDate m_shownTo;
};

} // namespace fb
