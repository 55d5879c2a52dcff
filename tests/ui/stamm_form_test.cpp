#include "main_form_fixture.h"

#include "core/ole_date.h"
#include "model/master_data.h"
#include "row_edit.h"
#include "ui/dialogs/stamm_form.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fb::test {
namespace {

class StammFormTest : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    MasterData record;
    TStammForm form{prompts, record};
};

TEST_F(StammFormTest, HasTheDesignedFieldsLabelsAndKeyboardOrderWithOkFirst)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Stammdaten"));
    EXPECT_EQ(form.size(), QSize(384, 390));
    EXPECT_TRUE(control<QPushButton>(form, "OkBtn")->isDefault());
    EXPECT_EQ(form.findChildren<QPushButton *>().size(), 1) << "no cancel button";
    EXPECT_NE(form.findChild<QFrame *>("Bevel1"), nullptr);

    const QList<QWidget *> order = {
        control<QPushButton>(form, "OkBtn"),       control<QLineEdit>(form, "Edit1"),
        control<QLineEdit>(form, "Edit2"),         control<QLineEdit>(form, "Edit3"),
        control<QLineEdit>(form, "Edit4"),         control<QLineEdit>(form, "Edit5"),
        control<QLineEdit>(form, "Edit6"),         control<QLineEdit>(form, "Edit7"),
        control<QLineEdit>(form, "Edit8"),         control<QLineEdit>(form, "Edit9"),
        control<NumberField>(form, "RxSpinEdit1"), control<DateField>(form, "DateTimePicker1"),
        control<QLineEdit>(form, "Edit10"),        control<DateField>(form, "DateTimePicker2")};
    const QStringList labels = {"Firma:",
                                "Vorname:",
                                "Name:",
                                "Straße:",
                                "PLZ:",
                                "Ort:",
                                "Land:",
                                "Telefon:",
                                "Kennzeichen:",
                                "Kilometerstand Beginn:",
                                "Datum der Erstzulassung:",
                                "Zulassungsbehörde:",
                                "Datum der Zulassung:"};
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QString name = order.at(i)->objectName();
        const QLabel *label = nullptr;
        for (const QLabel *candidate : form.findChildren<QLabel *>())
            if (candidate->buddy() == order.at(i))
                label = candidate;
        ASSERT_NE(label, nullptr) << name.toStdString();
        EXPECT_EQ(label->text().remove(u'&'), labels.at(i - 1));
    }
    expectTabOrder(order);

    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(form, "OkBtn"));
    control<QLineEdit>(form, "Edit3")->setFocus();
    control<QPushButton>(form, "OkBtn")->click();
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(form, "OkBtn"))
        << "every showing starts on OK";
    form.close();
}

TEST_F(StammFormTest, StartsWithTheDefaultRecordAndEditsItInPlace)
{
    EXPECT_EQ(control<NumberField>(form, "RxSpinEdit1")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<DateField>(form, "DateTimePicker1")->date(), QDate(2008, 4, 3));
    EXPECT_EQ(control<DateField>(form, "DateTimePicker2")->date(), QDate(2008, 4, 3));

    control<QLineEdit>(form, "Edit1")->setText("Muster GmbH");
    control<QLineEdit>(form, "Edit4")->setText("Hauptstraße 1");
    control<QLineEdit>(form, "Edit9")->setText("BN-XY 123");
    control<QLineEdit>(form, "Edit10")->setText("Stadt Bonn");
    control<NumberField>(form, "RxSpinEdit1")->setText("12345");
    form.reject(); // closing by the window's frame keeps every change
    EXPECT_EQ(form.record().company, QStringLiteral("Muster GmbH"));
    EXPECT_EQ(form.record().street, QStringLiteral("Hauptstraße 1"));
    EXPECT_EQ(form.record().registrationNumber, QStringLiteral("BN-XY 123"));
    EXPECT_EQ(form.record().registrationAuthority, QStringLiteral("Stadt Bonn"));
    EXPECT_EQ(form.record().startKm, 12345);
}

TEST_F(StammFormTest, StartReadingThatIsNoNumberKeepsTheRecordAndAnEmptyOneCountsZero)
{
    for (const char *text : {"-", "2147483648", "+-1", "48.72.5"}) {
        control<NumberField>(form, "RxSpinEdit1")->setText("77");
        form.reject();
        control<NumberField>(form, "RxSpinEdit1")->setText(text);
        form.reject();
        EXPECT_EQ(form.record().startKm, 77) << text;
        EXPECT_EQ(control<NumberField>(form, "RxSpinEdit1")->text(), QStringLiteral("77"))
            << "shown again";
    }
    control<NumberField>(form, "RxSpinEdit1")->setText("");
    form.reject();
    EXPECT_EQ(form.record().startKm, 0);
    control<NumberField>(form, "RxSpinEdit1")->setText("-2147483648");
    form.reject();
    EXPECT_EQ(form.record().startKm, -2147483648LL);
}

TEST_F(StammFormTest, PickingADateKeepsTheStoredTimeOfDay)
{
    control<DateField>(form, "DateTimePicker1")->setDate(QDate(2015, 6, 30));
    EXPECT_EQ(fromOleDate(form.record().firstRegistration),
              QDateTime(QDate(2015, 6, 30), QTime(18, 10), Qt::UTC));
    EXPECT_EQ(form.record().registration, MasterData::defaultRegistrationDate());

    record.registration = toOleDate(QDate(2020, 1, 2), QTime(7, 45, 30));
    TStammForm shown{prompts, record};
    EXPECT_EQ(control<DateField>(shown, "DateTimePicker2")->date(), QDate(2020, 1, 2));
    control<DateField>(shown, "DateTimePicker2")->setDate(QDate(2021, 3, 4));
    EXPECT_EQ(fromOleDate(shown.record().registration),
              QDateTime(QDate(2021, 3, 4), QTime(7, 45, 30), Qt::UTC));
}

TEST_F(StammFormTest, ShowingTheRecordChangesNothingInIt)
{
    record.company = "Firma";
    record.startKm = 4711;
    // A value that the picker shows only as a date and that is not a whole millisecond.
    record.firstRegistration = 45000.123456789123;
    TStammForm shown{prompts, record};
    EXPECT_EQ(control<QLineEdit>(shown, "Edit1")->text(), QStringLiteral("Firma"));
    EXPECT_EQ(control<NumberField>(shown, "RxSpinEdit1")->text(), QStringLiteral("4711"));
    EXPECT_TRUE(shown.record() == record);
}

// --- From the main window ------------------------------------------------------------------

class MasterDataCommandTest : public MainFormTest {
protected:
    MasterData &master() { return form->document().logbook().master; }
    // Opens "Stammdaten / Ändern..." and lets the script work on the dialog.
    void editMasterData(std::function<void(TStammForm &)> edit)
    {
        prompts.answerDialog([edit](QDialog &dialog) {
            auto &stamm = dynamic_cast<TStammForm &>(dialog);
            edit(stamm);
            control<QPushButton>(stamm, "OkBtn")->click();
            return stamm.result();
        });
        trigger("ndern3");
    }
};

TEST_F(MasterDataCommandTest, RaisingTheStartReadingShiftsEveryReading)
{
    addTrips({tripOn(1, "A", "B", "10"), tripOn(2, "B", "C", "2,5")});
    form->document().SetUnChanged();
    editMasterData([](TStammForm &stamm) {
        EXPECT_EQ(control<NumberField>(stamm, "RxSpinEdit1")->text(), QStringLiteral("0"));
        control<NumberField>(stamm, "RxSpinEdit1")->setText("50000");
    });
    EXPECT_EQ(master().startKm, 50000);
    EXPECT_TRUE(form->document().isChanged());
    EXPECT_EQ(trips().at(0).subItem(7), QStringLiteral("50000"));
    EXPECT_EQ(trips().at(0).subItem(8), QStringLiteral("50010"));
    EXPECT_EQ(trips().at(1).subItem(7), QStringLiteral("50010"));
    EXPECT_EQ(trips().at(1).subItem(8), QStringLiteral("50012,5"));

    editMasterData(
        [](TStammForm &stamm) { control<NumberField>(stamm, "RxSpinEdit1")->setText(""); });
    EXPECT_EQ(master().startKm, 0) << "an empty start reading counts as 0";
    EXPECT_EQ(trips().at(1).subItem(8), QStringLiteral("12,5"));
}

TEST_F(MasterDataCommandTest, ClosingWithoutAChangeStillMarksAndRewritesTheReadings)
{
    addTrips({tripOn(1, "A", "B", "10")});
    form->document().SetUnChanged();
    test::replaceSubItem(trips(), 0, 7, "999"); // a stale reading
    prompts.answerDialog([](QDialog &) { return int(QDialog::Rejected); });
    trigger("ndern3");
    EXPECT_TRUE(form->document().isChanged());
    EXPECT_TRUE(caption().endsWith("*]"));
    EXPECT_EQ(trips().at(0).subItem(7), QStringLiteral("0"));
}

TEST_F(MasterDataCommandTest, NewLogbookKeepsAndFileRoundTripRestoresTheMasterData)
{
    editMasterData([](TStammForm &stamm) {
        control<QLineEdit>(stamm, "Edit3")->setText("Mustermann");
        control<QLineEdit>(stamm, "Edit9")->setText("K-AB 12");
        control<NumberField>(stamm, "RxSpinEdit1")->setText("1234");
        control<DateField>(stamm, "DateTimePicker1")->setDate(QDate(2019, 5, 6));
    });
    const MasterData edited = master();
    prompts.answerQuestion(QMessageBox::No);
    trigger("Ne1");
    EXPECT_TRUE(master() == edited);
    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, "Edit3")->text(), QStringLiteral("Mustermann"));
        return int(QDialog::Accepted);
    });
    trigger("ndern3");

    prompts.answerFile(pathOf("stamm.fbu"));
    trigger("Speichern1");
    master() = MasterData();
    form->document().SetUnChanged();
    prompts.answerFile(pathOf("stamm.fbu"));
    trigger("ffnen1");
    EXPECT_TRUE(master() == edited);
    prompts.answerDialog([](QDialog &dialog) {
        auto &stamm = dynamic_cast<TStammForm &>(dialog);
        EXPECT_EQ(control<QLineEdit>(stamm, "Edit9")->text(), QStringLiteral("K-AB 12"))
            << "the loaded record shows";
        EXPECT_EQ(control<NumberField>(stamm, "RxSpinEdit1")->text(), QStringLiteral("1234"));
        EXPECT_EQ(control<DateField>(stamm, "DateTimePicker1")->date(), QDate(2019, 5, 6));
        return int(QDialog::Accepted);
    });
    trigger("ndern3");
}

} // namespace
} // namespace fb::test
