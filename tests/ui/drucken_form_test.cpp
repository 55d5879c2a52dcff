#include "main_form_fixture.h"

#include "core/ole_date.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/fields/date_field.h"
#include "ui/fields/time_field.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fb::test {
namespace {

using DruckenFormTest = MainFormTest;

// The print options as the print command gives them to the dialog.
SetPrintOptions printOptionsOf(const Logbook &logbook)
{
    return {logbook.print, logbook.headingFont, logbook.textFont};
}

struct Placed {
    const char *name;
    QString text;
    QRect geometry;
};

QString textOf(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text().remove(u'&');
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    return QString();
}

TEST_F(DruckenFormTest, EveryControlStandsAtItsPlaceInTabOrder)
{
    TDruckenForm dialog(prompts, printOptionsOf(form->document().logbook()));
    EXPECT_EQ(dialog.windowTitle(), "Drucken");
    EXPECT_EQ(dialog.size(), QSize(318, 308));
    const QList<Placed> controls = {
        {"OkBtn", "OK", QRect(70, 272, 75, 25)},
        {"BitBtn2", "Abbrechen", QRect(150, 272, 97, 25)},
        {"RadioButton1", "Alle Fahrten drucken", QRect(8, 8, 233, 17)},
        {"RadioButton2", "Fahrten von-bis drucken", QRect(8, 24, 241, 17)},
        {"DateTimePicker1", "", QRect(72, 48, 129, 21)},
        {"DateTimePicker2", "", QRect(72, 72, 129, 21)},
        {"StammCheck", "Stammdaten ausdrucken", QRect(8, 96, 217, 17)},
        {"privatcheck", "Private Fahrten drucken", QRect(8, 112, 217, 17)},
        {"geschaeftcheck", "Geschäftliche Fahrten drucken", QRect(8, 128, 217, 17)},
        {"CaptionEd", "Fahrtenbuch", QRect(72, 152, 241, 21)},
        {"AuswertCheck", "Auswertung drucken", QRect(8, 176, 177, 17)},
        {"BitBtnXP1", "Überschrift Schriftart...", QRect(6, 200, 147, 25)},
        {"BitBtnXP2", "Text Schriftart...", QRect(158, 200, 131, 25)},
        {"KiloCheck", "Kilometerstand Ende", QRect(176, 176, 129, 17)},
        {"PrintTimeCheck", "Zeit ausdrucken", QRect(8, 232, 177, 17)},
    };
    QWidget *previous = nullptr;
    for (const Placed &control : controls) {
        auto *widget = dialog.findChild<QWidget *>(QLatin1String(control.name));
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->geometry(), control.geometry) << control.name;
        EXPECT_EQ(textOf(widget), control.text) << control.name;
        if (previous) {
            EXPECT_EQ(nextTabStop(previous), widget) << control.name;
        }
        previous = widget;
    }
    const QList<std::tuple<const char *, QString, QPoint, QWidget *>> labels = {
        {"Label1", "Von:", QPoint(8, 48), control<DateField>(dialog, "DateTimePicker1")},
        {"Label2", "Bis:", QPoint(8, 72), control<DateField>(dialog, "DateTimePicker2")},
        {"Label3", "Überschrift:", QPoint(8, 152), control<QLineEdit>(dialog, "CaptionEd")},
    };
    for (const auto &[name, text, position, buddy] : labels) {
        auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text().remove(u'&'), text);
        EXPECT_EQ(label->pos(), position);
        EXPECT_EQ(label->buddy(), buddy);
    }
    EXPECT_TRUE(control<QPushButton>(dialog, "OkBtn")->isDefault());
    EXPECT_EQ(control<QFrame>(dialog, "Bevel1")->geometry(), QRect(0, 258, 318, 50));
}

TEST_F(DruckenFormTest, ShowsTheLogbooksSettingsAndKeepsWhatWasSet)
{
    PrintSettings &print = form->document().logbook().print;
    print.printDateRange = true;
    print.rangeFrom = toOleDate(QDate(2026, 11, 3), QTime(7, 15));
    print.rangeTo = toOleDate(QDate(2026, 11, 30), QTime(18, 0));
    print.printMasterData = false;
    print.printPrivateTrips = false;
    print.heading = QString();
    print.printFinalOdometer = false;
    const PrintSettings before = print;

    TDruckenForm dialog(prompts, printOptionsOf(form->document().logbook()));
    EXPECT_TRUE(control<QRadioButton>(dialog, "RadioButton2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(dialog, "RadioButton1")->isChecked());
    EXPECT_EQ(control<DateField>(dialog, "DateTimePicker1")->date(), QDate(2026, 11, 3));
    EXPECT_EQ(control<DateField>(dialog, "DateTimePicker2")->date(), QDate(2026, 11, 30));
    EXPECT_FALSE(control<QCheckBox>(dialog, "StammCheck")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(dialog, "privatcheck")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(dialog, "geschaeftcheck")->isChecked());
    EXPECT_EQ(control<QLineEdit>(dialog, "CaptionEd")->text(), "");
    EXPECT_TRUE(control<QCheckBox>(dialog, "AuswertCheck")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(dialog, "KiloCheck")->isChecked());

    // Unchanged dates keep their stored time of day.
    EXPECT_EQ(dialog.chosenOptions().print, before);

    control<QRadioButton>(dialog, "RadioButton1")->setChecked(true);
    control<DateField>(dialog, "DateTimePicker2")->setDate(QDate(2026, 12, 24));
    control<QLineEdit>(dialog, "CaptionEd")->setText("Dienstwagen");
    control<QCheckBox>(dialog, "PrintTimeCheck")->setChecked(false);
    const PrintSettings kept = dialog.chosenOptions().print;
    EXPECT_FALSE(kept.printDateRange);
    EXPECT_EQ(kept.rangeFrom, before.rangeFrom);
    EXPECT_EQ(fromOleDate(kept.rangeTo), QDateTime(QDate(2026, 12, 24), QTime(18, 0), Qt::UTC));
    EXPECT_EQ(kept.heading, "Dienstwagen");
    EXPECT_FALSE(kept.printTimes);
}

TEST_F(DruckenFormTest, FirstShowSetsTheRangeDatesToToday)
{
    PrintSettings &print = form->document().logbook().print;
    print.rangeFrom = print.rangeTo = toOleDate(QDate(2001, 1, 1));
    ASSERT_TRUE(showActive(*form));
    EXPECT_EQ(fromOleDate(print.rangeFrom).date(), QDate::currentDate());
    EXPECT_EQ(fromOleDate(print.rangeTo).date(), QDate::currentDate());
}

// Picks a font in a font dialog and confirms it.
ScriptedPrompts::DialogScript chooseFont(const QFont &font, QString *dialogName = nullptr)
{
    return [font, dialogName](QDialog &dialog) {
        if (dialogName)
            *dialogName = dialog.objectName();
        auto &fonts = dynamic_cast<QFontDialog &>(dialog);
        fonts.setCurrentFont(font);
        fonts.accept();
        return fonts.result();
    };
}

ScriptedPrompts::DialogScript confirmFontDialogUnchanged()
{
    return [](QDialog &dialog) {
        dialog.accept();
        return dialog.result();
    };
}

TEST_F(DruckenFormTest, FontButtonsChangeTheirFontsAtOnceAndKeepWhatTheDialogCannotShow)
{
    Logbook &logbook = form->document().logbook();
    logbook.headingFont.face = QStringLiteral("Nicht Installiert Grotesk");
    logbook.headingFont.color = 0x0000FF;
    logbook.headingFont.charset = 238;
    logbook.headingFont.pitch = PrintFont::VariablePitch;
    const PrintFont heading = logbook.headingFont;
    const PrintFont text = logbook.textFont;
    TDruckenForm options(prompts, printOptionsOf(logbook));
    const auto chosenHeading = [&options] {
        return options.chosenOptions().headingFont;
    };
    const auto chosenText = [&options] {
        return options.chosenOptions().textFont;
    };

    // Confirmed unchanged, the stored font stays as it is, face and all.
    prompts.answerDialog(confirmFontDialogUnchanged());
    control<QPushButton>(options, "BitBtnXP1")->click();
    EXPECT_EQ(chosenHeading(), heading);

    // Cancelled, nothing changes.
    prompts.answerDialog([](QDialog &dialog) {
        auto &fonts = dynamic_cast<QFontDialog &>(dialog);
        fonts.setCurrentFont(QFont(QStringLiteral("Liberation Serif"), 30));
        fonts.reject();
        return fonts.result();
    });
    control<QPushButton>(options, "BitBtnXP2")->click();
    EXPECT_EQ(chosenText(), text);

    QFont chosen(QStringLiteral("Liberation Serif"), 12);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    QString dialogName;
    prompts.answerDialog(chooseFont(chosen, &dialogName));
    control<QPushButton>(options, "BitBtnXP2")->click();
    EXPECT_EQ(dialogName, "FontDialog2");
    EXPECT_EQ(chosenText().face, "Liberation Serif");
    EXPECT_EQ(chosenText().sizePoints, 12);
    EXPECT_EQ(chosenText().style, PrintFont::Italic | PrintFont::Underline);
    EXPECT_EQ(chosenText().color, text.color);
    EXPECT_EQ(chosenText().charset, text.charset);
    EXPECT_EQ(chosenText().pixelsPerInch, text.pixelsPerInch);

    prompts.answerDialog(chooseFont(QFont(QStringLiteral("Liberation Sans"), 20), &dialogName));
    control<QPushButton>(options, "BitBtnXP1")->click();
    EXPECT_EQ(dialogName, "FontDialog1");
    EXPECT_EQ(chosenHeading().face, "Liberation Sans");
    EXPECT_EQ(chosenHeading().sizePoints, 20);
    EXPECT_EQ(chosenHeading().color, 0x0000FF);
    EXPECT_EQ(chosenHeading().charset, 238);
}

} // namespace
} // namespace fb::test
