// Entering a trip by keys alone, as a person does it every day: places and purposes completed
// from the logbook, the distance proposed, the arrival date following the departure, the return
// trip in one key. Every key goes through the real widgets and is counted.
#include "main_form_fixture.h"

#include "ui/fields/completion_popup.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/trip_fields.h"
#include "ui/list/trip_list_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace fb::test {
namespace {

// Key presses to whatever has the keyboard focus, counted; a chord counts as one.
struct Keyboard {
    int presses = 0;
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        ++presses;
    }
    void type(const QString &text)
    {
        for (const QChar c : text) {
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
            ++presses;
        }
    }
};

// Shows a dialog that a command opens, as the command's modal loop would: active, with the
// keyboard in its first field. A window activated from within a key event's delivery is
// activated only once that delivery is done, so the test makes it the active one itself.
bool showOver(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    return QTest::qWaitForWindowActive(&dialog);
}

class FastEntryTest : public MainFormTest {
protected:
    void SetUp() override
    {
        form->document().logbook().master.startKm = 1000;
        TripInput first = tripOn(2, "Köln, Büro", "Köln, Rheinuferstraße 7", "12,5");
        first.purpose = "Montage Heizung";
        TripInput second = tripOn(3, "Köln, Büro", "Bonn, Kunde Meier", "30");
        second.purpose = "Wartung";
        addTrips({first, second});
        ASSERT_TRUE(showActive(*form));
        prompts.clearAsked();
    }
    // The place field's completion list.
    const QListWidget &listOf(QDialog &dialog, const char *field)
    {
        auto *fields = dialog.findChild<TripFields *>();
        return fields->completion(*control<QWidget>(dialog, field)).list();
    }
    Keyboard keys;
};

TEST_F(FastEntryTest, RepeatTripOfKnownPlacesTakesAtMost35Keys)
{
    prompts.answerDialog([this](QDialog &dialog) {
        EXPECT_TRUE(showOver(dialog));
        keys.type("041226"); // the departure date; the arrival date follows it
        keys.press(Qt::Key_Tab);
        keys.type("0815");
        keys.press(Qt::Key_Tab);
        keys.type("rh"); // the start of a word, not of the text
        EXPECT_EQ(listOf(dialog, "AbfahrtEd").count(), 1);
        EXPECT_TRUE(listOf(dialog, "AbfahrtEd").isVisible());
        EXPECT_EQ(listOf(dialog, "AbfahrtEd").currentRow(), -1) << "nothing chosen yet";
        keys.press(Qt::Key_Return); // takes the first; the dialog stays open, the focus here
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(dialog, "AbfahrtEd"));
        EXPECT_EQ(control<QLineEdit>(dialog, "AbfahrtEd")->text(), "Köln, Rheinuferstraße 7");
        keys.press(Qt::Key_Tab);
        EXPECT_EQ(control<DateField>(dialog, "DateTimePicker3")->date(), QDate(2026, 12, 4));
        keys.press(Qt::Key_Tab);
        keys.type("0900");
        keys.press(Qt::Key_Tab);
        keys.type("k"); // the most recent use first
        EXPECT_EQ(listOf(dialog, "AnkunftEd").item(0)->text(), "Bonn, Kunde Meier");
        keys.press(Qt::Key_Down);
        keys.press(Qt::Key_Down);
        keys.press(Qt::Key_Return);
        EXPECT_EQ(control<QLineEdit>(dialog, "AnkunftEd")->text(), "Köln, Büro");
        // The way back of the first trip: its distance, proposed.
        EXPECT_EQ(control<NumberField>(dialog, "KMED")->text(), "12,50");
        EXPECT_TRUE(control<NumberField>(dialog, "KMED")->font().italic());
        EXPECT_EQ(control<NumberField>(dialog, "KMED")->toolTip(), "wie am 02.11.2026");
        keys.press(Qt::Key_F, Qt::AltModifier);
        keys.type("mo");
        keys.press(Qt::Key_Return);
        EXPECT_EQ(control<QPlainTextEdit>(dialog, "ZweckEd")->toPlainText(), "Montage Heizung");
        keys.press(Qt::Key_Tab);
        keys.press(Qt::Key_Return);
        return dialog.result();
    });
    keys.press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(trips().count(), 3);
    EXPECT_LE(keys.presses, 35);
    const Row &saved = trips().at(form->tripList().selectedRow());
    EXPECT_EQ(saved.caption, "04.12.2026 08:15:00");
    EXPECT_EQ(saved.subItem(1), "04.12.2026 09:00:00");
    EXPECT_EQ(saved.subItem(0), "Köln, Rheinuferstraße 7");
    EXPECT_EQ(saved.subItem(2), "Köln, Büro");
    EXPECT_EQ(saved.subItem(3), "12,5");
}

TEST_F(FastEntryTest, TypedDistanceAndOwnArrivalDateAreNeverReplaced)
{
    prompts.answerDialog([this](QDialog &dialog) {
        EXPECT_TRUE(showOver(dialog));
        auto *distance = control<NumberField>(dialog, "KMED");
        control<DateField>(dialog, "DateTimePicker3")->setDate(QDate(2026, 12, 6));
        keys.type("051226"); // the arrival date was another: it stays
        EXPECT_EQ(control<DateField>(dialog, "DateTimePicker3")->date(), QDate(2026, 12, 6));
        control<QLineEdit>(dialog, "AnkunftEd")->setFocus();
        keys.type("x");
        EXPECT_FALSE(listOf(dialog, "AnkunftEd").isVisible()) << "no word begins with x";
        distance->setFocus();
        keys.press(Qt::Key_A, Qt::ControlModifier);
        keys.type("44");
        control<QLineEdit>(dialog, "AbfahrtEd")->setFocus();
        keys.type("Bonn, Kunde Meie");
        EXPECT_TRUE(listOf(dialog, "AbfahrtEd").isVisible());
        keys.press(Qt::Key_Escape); // closes the list, keeps the text and the dialog
        EXPECT_FALSE(listOf(dialog, "AbfahrtEd").isVisible());
        EXPECT_TRUE(dialog.isVisible());
        keys.type("r");
        EXPECT_FALSE(listOf(dialog, "AbfahrtEd").isVisible()) << "typed in full: nothing to offer";
        EXPECT_EQ(control<QLineEdit>(dialog, "AbfahrtEd")->text(), "Bonn, Kunde Meier");
        control<QLineEdit>(dialog, "AnkunftEd")->setFocus();
        keys.press(Qt::Key_Backspace);
        keys.type("b");
        keys.press(Qt::Key_Down);
        keys.press(Qt::Key_Down);
        keys.press(Qt::Key_Return);
        EXPECT_EQ(control<QLineEdit>(dialog, "AnkunftEd")->text(), "Köln, Büro");
        EXPECT_EQ(distance->text(), "44") << "a typed distance is never replaced";
        EXPECT_FALSE(distance->font().italic());
        return int(QDialog::Rejected);
    });
    keys.press(Qt::Key_N, Qt::ControlModifier);
}

TEST_F(FastEntryTest, ReturnTripIsCtrlRAndEnterForTheSelectedTheDeletedOrTheLastTrip)
{
    const auto confirmByEnter = [this](QDialog &dialog) {
        EXPECT_TRUE(showOver(dialog));
        keys.press(Qt::Key_Return);
        return dialog.result();
    };
    // None selected: the last live trip, back from Bonn to the office.
    form->tripList().clearSelection();
    prompts.answerDialog(confirmByEnter);
    keys.press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(keys.presses, 2);
    ASSERT_EQ(trips().count(), 3);
    const Row &back = trips().at(2);
    EXPECT_EQ(back.caption, "03.11.2026 09:30:00") << "departs when the trip arrived";
    EXPECT_EQ(back.subItem(1), "03.11.2026 11:00:00") << "and takes as long";
    EXPECT_EQ(back.subItem(0), "Bonn, Kunde Meier");
    EXPECT_EQ(back.subItem(2), "Köln, Büro");
    EXPECT_EQ(back.subItem(3), "30");
    EXPECT_EQ(back.subItem(4), "Wartung");
    EXPECT_EQ(form->tripList().selectedRow(), 2) << "the new row is selected";

    // A deleted trip, selected: its way back is a new live trip, as a copy would be.
    form->tripList().selectRow(0);
    trigger("Lschen1");
    form->tripList().selectRow(0);
    QApplication::setActiveWindow(form.get()); // as the closed dialog's modal loop leaves it
    prompts.answerDialog(confirmByEnter);
    keys.press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(trips().count(), 4);
    const Row &deletedBack = trips().at(form->tripList().selectedRow());
    EXPECT_EQ(deletedBack.subItem(0), "Köln, Rheinuferstraße 7");
    EXPECT_FALSE(isDeleted(deletedBack));
}

} // namespace
} // namespace fb::test
