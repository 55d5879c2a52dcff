#include "drucken_form.h"

#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"
#include "ui/fields/date_field.h"
#include "ui/fields/input_checks.h"
#include "ui/window/prompts.h"

#include "core/ole_date.h"
#include "print/qt_print_font.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fb {
namespace {

template<typename Widget>
Widget *placed(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel *labelFor(const QString &text, const char *name, QWidget *buddy, int left, int top)
{
    auto *label = new QLabel(text, buddy->parentWidget());
    label->setObjectName(QLatin1String(name));
    // Up to the field it names.
    label->setGeometry(left, top, buddy->x() - left, buddy->height());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

// A range date back into its stored form: the stored value while the date is the one shown,
// else the new date at the stored time of day.
double keptDate(double stored, const QDate &shown, const QDate &now)
{
    if (now == shown)
        return stored;
    const QDateTime before = fromOleDate(stored);
    return toOleDate(now, before.isValid() ? before.time() : QTime(0, 0));
}

} // namespace

TDruckenForm::TDruckenForm(Prompts &prompts, const SetPrintOptions &options, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_options(options)
{
    setObjectName(QStringLiteral("DruckenForm"));
    setWindowTitle(QStringLiteral("Drucken"));
    // A fixed dialog border: a title and a close button, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The controls' places and sizes were made for this face and size: a larger font would
    // clip the captions.
    QFont designed;
    designed.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("Arial")});
    designed.setStyleHint(QFont::SansSerif);
    designed.setPointSize(8);
    setFont(designed);

    // Made first, so it lies behind the buttons.
    Bevel1 = placed(new QFrame(this), "Bevel1", 0, 258, 318, 50);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);

    OkBtn = placed(new QPushButton(QStringLiteral("OK"), this), "OkBtn", 70, 272, 75, 25);
    OkBtn->setDefault(true);
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    BitBtn2 =
        placed(new QPushButton(QStringLiteral("Abbrechen"), this), "BitBtn2", 150, 272, 97, 25);
    BitBtn2->setAutoDefault(false);
    setButtonLook(*BitBtn2, ButtonIcon::Cancel);
    RadioButton1 = placed(new QRadioButton(QStringLiteral("Alle Fahrten drucken"), this),
                          "RadioButton1", 8, 8, 233, 17);
    RadioButton2 = placed(new QRadioButton(QStringLiteral("Fahrten von-bis drucken"), this),
                          "RadioButton2", 8, 24, 241, 17);
    DateTimePicker1 = placed(new DateField(this), "DateTimePicker1", 72, 48, 129, 21);
    Label1 = labelFor(QStringLiteral("&Von:"), "Label1", DateTimePicker1, 8, 48);
    DateTimePicker2 = placed(new DateField(this), "DateTimePicker2", 72, 72, 129, 21);
    Label2 = labelFor(QStringLiteral("B&is:"), "Label2", DateTimePicker2, 8, 72);
    StammCheck = placed(new QCheckBox(QStringLiteral("&Stammdaten ausdrucken"), this), "StammCheck",
                        8, 96, 217, 17);
    privatcheck = placed(new QCheckBox(QStringLiteral("&Private Fahrten drucken"), this),
                         "privatcheck", 8, 112, 217, 17);
    geschaeftcheck = placed(new QCheckBox(QStringLiteral("&Geschäftliche Fahrten drucken"), this),
                            "geschaeftcheck", 8, 128, 217, 17);
    CaptionEd =
        placed(new QLineEdit(QStringLiteral("Fahrtenbuch"), this), "CaptionEd", 72, 152, 241, 21);
    Label3 = labelFor(QStringLiteral("Ü&berschrift:"), "Label3", CaptionEd, 8, 152);
    AuswertCheck = placed(new QCheckBox(QStringLiteral("&Auswertung drucken"), this),
                          "AuswertCheck", 8, 176, 177, 17);
    BitBtnXP1 = placed(new QPushButton(QStringLiteral("Überschrift Schriftart..."), this),
                       "BitBtnXP1", 6, 200, 147, 25);
    BitBtnXP2 = placed(new QPushButton(QStringLiteral("Text Schriftart..."), this), "BitBtnXP2",
                       158, 200, 131, 25);
    setButtonLook(*BitBtnXP1, ButtonIcon::Font);
    setButtonLook(*BitBtnXP2, ButtonIcon::Font);
    KiloCheck = placed(new QCheckBox(QStringLiteral("&Kilometerstand Ende"), this), "KiloCheck",
                       176, 176, 129, 17);
    PrintTimeCheck = placed(new QCheckBox(QStringLiteral("&Zeit ausdrucken"), this),
                            "PrintTimeCheck", 8, 232, 177, 17);
    for (QPushButton *button : {BitBtnXP1, BitBtnXP2})
        button->setAutoDefault(false);

    QWidget *const tabOrder[] = {OkBtn,           BitBtn2,         RadioButton1,  RadioButton2,
                                 DateTimePicker1, DateTimePicker2, StammCheck,    privatcheck,
                                 geschaeftcheck,  CaptionEd,       AuswertCheck,  BitBtnXP1,
                                 BitBtnXP2,       KiloCheck,       PrintTimeCheck};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(OkBtn, &QPushButton::clicked, this, &TDruckenForm::OkBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnXP1, &QPushButton::clicked, this, &TDruckenForm::BitBtnXP1Click);
    connect(BitBtnXP2, &QPushButton::clicked, this, &TDruckenForm::BitBtnXP2Click);

    setFixedSize(318, 308);
    showOptions();
}

void TDruckenForm::showOptions()
{
    const PrintSettings &print = m_options.print;
    RadioButton1->setChecked(print.printAllTrips());
    RadioButton2->setChecked(print.printDateRange);
    DateTimePicker1->setDate(fromOleDate(print.rangeFrom).date());
    DateTimePicker2->setDate(fromOleDate(print.rangeTo).date());
    m_shownFrom = DateTimePicker1->date();
    m_shownTo = DateTimePicker2->date();
    StammCheck->setChecked(print.printMasterData);
    privatcheck->setChecked(print.printPrivateTrips);
    geschaeftcheck->setChecked(print.printBusinessTrips);
    CaptionEd->setText(print.heading);
    AuswertCheck->setChecked(print.printEvaluation);
    KiloCheck->setChecked(print.printFinalOdometer);
    PrintTimeCheck->setChecked(print.printTimes);
}

SetPrintOptions TDruckenForm::chosenOptions() const
{
    SetPrintOptions chosen = m_options;
    PrintSettings &print = chosen.print;
    print.printDateRange = RadioButton2->isChecked();
    print.rangeFrom = keptDate(print.rangeFrom, m_shownFrom, DateTimePicker1->date());
    print.rangeTo = keptDate(print.rangeTo, m_shownTo, DateTimePicker2->date());
    print.printMasterData = StammCheck->isChecked();
    print.printPrivateTrips = privatcheck->isChecked();
    print.printBusinessTrips = geschaeftcheck->isChecked();
    print.heading = CaptionEd->text();
    print.printEvaluation = AuswertCheck->isChecked();
    print.printFinalOdometer = KiloCheck->isChecked();
    print.printTimes = PrintTimeCheck->isChecked();
    return chosen;
}

void TDruckenForm::OkBtnClick()
{
    for (DateField *date : {DateTimePicker1, DateTimePicker2}) {
        if (!date->isInputValid())
            return refuseInput(m_prompts, *this, date->invalidInputMessage(), *date);
    }
    accept();
}

void TDruckenForm::done(int result)
{
    // Closed without OK the settings are kept too: a date that does not read keeps the one
    // before it, shown again.
    for (DateField *date : {DateTimePicker1, DateTimePicker2})
        date->commitOrRevert();
    QDialog::done(result);
}

void TDruckenForm::chooseFont(const char *dialogName, PrintFont &font)
{
    // Qt's own dialog, which offers underline and strike-out and looks alike everywhere.
    QFontDialog dialog(this);
    dialog.setObjectName(QLatin1String(dialogName));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(toQFont(font));
    const QFont shown = dialog.currentFont();
    if (m_prompts.showModal(dialog) != QDialog::Accepted)
        return;
    font = withFontDialogChanges(font, shown, dialog.currentFont());
}

void TDruckenForm::BitBtnXP1Click()
{
    chooseFont("FontDialog1", m_options.headingFont);
}

void TDruckenForm::BitBtnXP2Click()
{
    chooseFont("FontDialog2", m_options.textFont);
}

void TDruckenForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace fb
