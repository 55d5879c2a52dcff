#include "main_form_fixture.h"

#include "row_edit.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"
#include "ui/list/trip_list_view.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace fb::test {
namespace {

class TripCommandsTest : public MainFormTest {
protected:
    // Five live trips of 10, 20, 30, 40 and 50 km from the start reading 1000.
    void addFiveTrips()
    {
        form->document().logbook().master.startKm = 1000;
        QList<TripInput> inputs;
        for (int i = 1; i <= 5; ++i)
            inputs.append(tripOn(i, QStringLiteral("Ort %1").arg(i),
                                 QStringLiteral("Ziel %1").arg(i), QString::number(i * 10)));
        addTrips(inputs);
        prompts.clearAsked();
    }
    QStringList readings(int row)
    {
        return {trips().at(row).subItem(7), trips().at(row).subItem(8)};
    }
    void markUnchanged() { form->document().SetUnChanged(); }
    bool changed() { return form->document().isChanged(); }
};

TEST_F(TripCommandsTest, BackdatedNewTripGoesToItsPlaceInTimeWithReadingsOfItsNeighbours)
{
    addFiveTrips();
    ASSERT_EQ(trips().count(), 5);
    EXPECT_EQ(readings(4), (QStringList{"1100", "1150"}));
    EXPECT_EQ(form->tripList().selectedRow(), 4) << "the new row is selected";

    form->tripList().selectRow(4);
    trigger("Lschen1");
    TripInput earlier = tripOn(1, "Früh", "Spät", "2,5");
    earlier.departure = earlier.departure.addDays(-10);
    earlier.arrival = earlier.arrival.addDays(-10);
    prompts.answerDialog([this, earlier](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_EQ(control<NumberField>(fahrt, "KM1Ed")->text(), QStringLiteral("1100,00"));
        EXPECT_EQ(control<NumberField>(fahrt, "KM2Ed")->text(), QStringLiteral("1100,00"));
        EXPECT_EQ(control<NumberField>(fahrt, "KM2Ed")->maximum(), 101100);
        EXPECT_TRUE(control<QLineEdit>(fahrt, "AbfahrtEd")->text().isEmpty());
        EXPECT_EQ(control<NumberField>(fahrt, "KMED")->text(), QStringLiteral("0,00"));
        return enter(earlier)(dialog);
    });
    click("BitBtn1");
    ASSERT_EQ(trips().count(), 6);
    EXPECT_EQ(trips().at(0).subItem(0), QStringLiteral("Früh")) << "before every later trip";
    EXPECT_EQ(readings(0), (QStringList{"1000", "1002,5"}));
    EXPECT_EQ(readings(1), (QStringList{"1002,5", "1012,5"}));
    EXPECT_EQ(form->tripList().selectedRow(), 0);

    // Between the trips of the 3rd and the 4th, directly above the 4th.
    TripInput between = tripOn(3, "Mittag", "Abend", "7");
    between.departure = between.departure.addSecs(4 * 3600);
    between.arrival = between.arrival.addSecs(4 * 3600);
    prompts.answerDialog(enter(between));
    click("BitBtn1");
    ASSERT_EQ(trips().count(), 7);
    EXPECT_EQ(trips().at(4).subItem(0), QStringLiteral("Mittag"));
    EXPECT_EQ(readings(3), (QStringList{"1032,5", "1062,5"}));
    EXPECT_EQ(readings(4), (QStringList{"1062,5", "1069,5"}));
    EXPECT_EQ(readings(5), (QStringList{"1069,5", "1109,5"}));
    EXPECT_EQ(form->tripList().selectedRow(), 4);
}

TEST_F(TripCommandsTest, DialogShowsTheReadingsOfThePlaceInTimeTheTripWillTake)
{
    addFiveTrips();
    const auto shown = [](TFahrtForm &fahrt) {
        return QStringList{control<NumberField>(fahrt, "KM1Ed")->text(),
                           control<NumberField>(fahrt, "KM2Ed")->text()};
    };
    // A new trip between the 3rd and the 4th: after 1060 km, not after the last trip's 1150.
    TripInput noon = tripOn(3, "Mittag", "Abend", "7");
    noon.departure = noon.departure.addSecs(4 * 3600);
    noon.arrival = noon.arrival.addSecs(4 * 3600);
    QStringList shownAtOk;
    prompts.answerDialog([&](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_EQ(shown(fahrt), (QStringList{"1150,00", "1150,00"}));
        fahrt.setDeparture(noon.departure);
        EXPECT_EQ(shown(fahrt), (QStringList{"1060,00", "1060,00"}));
        EXPECT_EQ(control<NumberField>(fahrt, "KM2Ed")->maximum(), 101060);
        const int result = enter(noon)(dialog);
        shownAtOk = shown(fahrt);
        return result;
    });
    trigger("Neu1");
    EXPECT_EQ(shownAtOk, (QStringList{"1060,00", "1067,00"}));
    EXPECT_EQ(readings(3), (QStringList{"1060", "1067"}));

    // The trip of the 4th moved to the 2nd at noon: its new version goes before the 3rd and
    // starts after the 1st and 2nd, while its old version no longer counts.
    form->tripList().selectRow(4);
    prompts.answerDialog([&](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_EQ(shown(fahrt), (QStringList{"1067,00", "1107,00"}));
        fahrt.setDeparture(QDateTime(QDate(2026, 11, 2), QTime(12, 0), Qt::UTC));
        fahrt.setArrival(QDateTime(QDate(2026, 11, 2), QTime(13, 0), Qt::UTC));
        shownAtOk = shown(fahrt);
        fahrt.OkBtnClick();
        return fahrt.result();
    });
    trigger("ndern1");
    EXPECT_EQ(shownAtOk, (QStringList{"1030,00", "1070,00"}));
    ASSERT_EQ(trips().count(), 7);
    EXPECT_EQ(trips().at(2).subItem(TripSubItem::Distance), QStringLiteral("40"));
    EXPECT_EQ(readings(2), (QStringList{"1030", "1070"}));
}

TEST_F(TripCommandsTest, ChangingTheThirdOfFiveTripsInsertsTheNewVersionBelowTheOld)
{
    addFiveTrips();
    markUnchanged();
    const Row oldThird = trips().at(2);
    form->tripList().selectRow(2);
    prompts.answerDialog([](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_EQ(control<NumberField>(fahrt, "KM1Ed")->text(), QStringLiteral("1030,00"));
        EXPECT_EQ(control<NumberField>(fahrt, "KM2Ed")->text(), QStringLiteral("1060,00"));
        EXPECT_EQ(control<NumberField>(fahrt, "KMED")->text(), QStringLiteral("30,00"));
        EXPECT_EQ(control<QLineEdit>(fahrt, "AbfahrtEd")->text(), QStringLiteral("Ort 3"));
        control<NumberField>(fahrt, "KMED")->setText(QStringLiteral("35"));
        fahrt.OkBtnClick();
        return fahrt.result();
    });
    click("BitBtn2");
    ASSERT_EQ(trips().count(), 6);
    EXPECT_TRUE(changed());
    EXPECT_EQ(trips().at(2).subItem(6), QStringLiteral("Ja"));
    EXPECT_EQ(trips().at(2).subItem(0), oldThird.subItem(0));
    EXPECT_EQ(trips().at(2).subItem(3), QStringLiteral("30")) << "the old version is kept";
    EXPECT_EQ(trips().at(3).subItem(3), QStringLiteral("35"));
    EXPECT_FALSE(isDeleted(trips().at(3)));
    EXPECT_EQ(readings(2), (QStringList{"1030", "1030"}));
    EXPECT_EQ(readings(3), (QStringList{"1030", "1065"}));
    EXPECT_EQ(readings(4), (QStringList{"1065", "1105"}));
    EXPECT_EQ(readings(5), (QStringList{"1105", "1155"}));
    EXPECT_EQ(form->tripList().selectedRow(), 3) << "the new version is selected";

    form->tripList().selectRow(2);
    prompts.clearAsked();
    form->tripList().selectRow(2);
    trigger("ndern1");
    EXPECT_TRUE(prompts.asked().isEmpty()) << "a deleted trip cannot be changed";
}

TEST_F(TripCommandsTest, CopyOfADeletedTripIsALiveTripInItsPlaceInTime)
{
    addFiveTrips();
    form->tripList().selectRow(1);
    trigger("Lschen1");
    prompts.answerDialog(confirmAsItStands());
    click("BitBtn4");
    ASSERT_EQ(trips().count(), 6);
    // It departs when the deleted trip did: before the next live trip.
    const Row &copy = trips().at(2);
    EXPECT_FALSE(isDeleted(copy));
    EXPECT_EQ(copy.caption, trips().at(1).caption);
    for (int subItem = 0; subItem <= 5; ++subItem)
        EXPECT_EQ(copy.subItem(subItem), trips().at(1).subItem(subItem)) << subItem;
    EXPECT_EQ(readings(2), (QStringList{"1010", "1030"}));
    EXPECT_EQ(readings(5), (QStringList{"1100", "1150"}));
    EXPECT_EQ(form->tripList().selectedRow(), 2);
}

TEST_F(TripCommandsTest, DeletingTwiceMarksOnceAndRecomputesTheReadings)
{
    addFiveTrips();
    markUnchanged();
    form->tripList().selectRow(0);
    click("BitBtn3");
    EXPECT_TRUE(prompts.asked().isEmpty()) << "no question";
    EXPECT_EQ(trips().at(0).subItem(6), QStringLiteral("Ja"));
    EXPECT_TRUE(changed());
    EXPECT_EQ(readings(0), (QStringList{"1000", "1000"}));
    EXPECT_EQ(readings(4), (QStringList{"1090", "1140"}));

    markUnchanged();
    trigger("Lschen1");
    EXPECT_FALSE(changed()) << "deleting a deleted trip changes nothing";
    EXPECT_EQ(trips().count(), 5);
}

TEST_F(TripCommandsTest, DeletingTheOnlyLiveTripLeavesTheStartReading)
{
    form->document().logbook().master.startKm = 777;
    addTrips({tripOn(2, "A", "B", "12")});
    form->tripList().selectRow(0);
    trigger("Lschen1");
    EXPECT_EQ(readings(0), (QStringList{"777", "777"}));
}

TEST_F(TripCommandsTest, DialogKeepsDatesAndKindBetweenUses)
{
    TripInput privateTrip = tripOn(12, "Bonn", "Siegburg", "12");
    privateTrip.business = false;
    addTrips({privateTrip});
    prompts.answerDialog([privateTrip](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_EQ(fahrt.departure(), privateTrip.departure);
        EXPECT_EQ(fahrt.arrival(), privateTrip.arrival);
        EXPECT_TRUE(control<QRadioButton>(fahrt, "RadioButton2")->isChecked());
        EXPECT_TRUE(control<QLineEdit>(fahrt, "AnkunftEd")->text().isEmpty())
            << "the texts are cleared";
        return int(QDialog::Rejected);
    });
    trigger("Neu1");
}

TEST_F(TripCommandsTest, CancelledDialogsChangeNothing)
{
    addFiveTrips();
    markUnchanged();
    const QList<Row> before = trips().rows();
    form->tripList().selectRow(2);
    for (const char *action : {"Neu1", "ndern1", "Kopieren1"}) {
        prompts.answerDialog(cancel());
        trigger(action);
        EXPECT_EQ(trips().rows(), before) << action;
        EXPECT_FALSE(changed()) << action;
    }
    EXPECT_EQ(prompts.askedKinds(), (QStringList{"dialog", "dialog", "dialog"}));
}

TEST_F(TripCommandsTest, CommandsOnNoSelectionDoNothing)
{
    addFiveTrips();
    form->tripList().clearSelection();
    for (const char *action : {"ndern1", "Kopieren1", "Lschen1"})
        trigger(action);
    EXPECT_TRUE(prompts.asked().isEmpty());
    EXPECT_EQ(trips().count(), 5);
}

TEST_F(TripCommandsTest, TripThatDoesNotParseIsReportedBeforeTheDialog)
{
    trips().append(tripRow("kein Datum", "A", "B", "5"));
    form->tripList().selectRow(0);
    trigger("Kopieren1");
    trigger("ndern1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"stop", "stop"}));
    EXPECT_EQ(prompts.asked().at(0).title, QStringLiteral("Fahrtenbuch"));
    EXPECT_TRUE(prompts.asked().at(0).text.contains(QStringLiteral("kein Datum")));
    EXPECT_EQ(trips().count(), 1);
}

TEST_F(TripCommandsTest, TemplateListIsFilledFromTheTemplateTable)
{
    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_EQ(control<QComboBox>(dialog, "ComboBox1")->count(), 0);
        return int(QDialog::Rejected);
    });
    trigger("Neu1");

    form->document().logbook().templates.append(Row{"Büro", {"A", "B", "3", "Arbeit", "Privat"}});
    form->document().logbook().templates.append(Row{"Kunde", {"A", "C", "9", "Termin", "Privat"}});
    prompts.answerDialog([](QDialog &dialog) {
        const QComboBox *list = control<QComboBox>(dialog, "ComboBox1");
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->itemText(1), QStringLiteral("Kunde"));
        EXPECT_EQ(list->currentIndex(), -1);
        return int(QDialog::Rejected);
    });
    trigger("Neu1");
}

TEST_F(TripCommandsTest, DoubleClickAndEnterOpenTheChangeDialog)
{
    addFiveTrips();
    ASSERT_TRUE(showActive(*form));
    TripListView &list = form->tripList();
    form->tripList().selectRow(1);
    list.setFocus();
    prompts.answerDialog(cancel());
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("dialog")});

    const QRect cell = list.visualRect(list.model()->index(3, 1));
    prompts.answerDialog(cancel());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(prompts.askedKinds().size(), 2);
    EXPECT_EQ(form->tripList().selectedRow(), 3);
}

TEST_F(TripCommandsTest, ListFollowsTheTableWithoutCopies)
{
    addFiveTrips();
    const QAbstractItemModel *model = form->tripList().model();
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), QStringLiteral("Ort 3"));
    test::replaceSubItem(trips(), 2, 0, QStringLiteral("Neu"));
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), QStringLiteral("Neu"));
    test::replaceSubItem(trips(), 2, 4, QStringLiteral("Zeile 1\r\nZeile 2"));
    EXPECT_EQ(model->data(model->index(2, 5)).toString(), QStringLiteral("Zeile 1 Zeile 2"));
    trips().remove(0);
    EXPECT_EQ(model->rowCount(), 4);
    form->document().NewAll();
    EXPECT_EQ(model->rowCount(), 0);
}

} // namespace
} // namespace fb::test
