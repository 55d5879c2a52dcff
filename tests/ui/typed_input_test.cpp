// What a person types into the dialogs' date, time and number fields is stored as typed or
// refused with a reason, never silently changed. The fields are driven as a person drives them:
// focused by a click or by Tab, everything selected with Ctrl+A, then typed key by key.
#include "main_form_fixture.h"

#include "core/ole_date.h"
#include "model/master_data.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/stamm_form.h"
#include "ui/dialogs/vorlage_neu_form.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"
#include "ui/list/trip_list_view.h"

#include <QApplication>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <random>

namespace fb::test {
namespace {

const QString kDistanceMessage =
    QStringLiteral("Die Entfernung muss zwischen 0 und 100000 Kilometern liegen.");

// Clicks into the field, selects everything with Ctrl+A and types the text, then leaves the
// field with Tab, as a person finishes an entry.
void typeOver(QAbstractSpinBox &field, const QString &text)
{
    QTest::mouseClick(field.findChild<QLineEdit *>(), Qt::LeftButton);
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&field, text);
    QTest::keyClick(&field, Qt::Key_Tab);
}

// A field between two others in a window of its own, so that it can be left with Tab.
template<typename Field> class FieldWindow {
public:
    template<typename... Arguments> explicit FieldWindow(Arguments... arguments)
    {
        before = new QLineEdit(&window);
        field = new Field(arguments..., &window);
        after = new QLineEdit(&window);
        window.resize(300, 100);
        before->move(0, 0);
        field->setGeometry(0, 30, 150, 25);
        after->move(0, 60);
    }
    bool show() { return showActive(window); }
    // Tab from the field before, which selects the whole text, then the text and Tab again.
    void tabInAndType(const QString &text)
    {
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    QWidget window;
    QLineEdit *before;
    Field *field;
    QLineEdit *after;
};

TEST(TypedDate, EveryWrittenFormIsTheTypedDateAndNoSeparatorSkipsASection)
{
    FieldWindow<DateField> dates;
    ASSERT_TRUE(dates.show());
    const int century = QDate::currentDate().year() / 100 * 100;
    const struct {
        const char *typed;
        QDate stored;
    } cases[] = {
        {"05.10.2026", QDate(2026, 10, 5)},      {"5.10.2026", QDate(2026, 10, 5)},
        {"5.10.26", QDate(century + 26, 10, 5)}, {"051026", QDate(century + 26, 10, 5)},
        {"05102026", QDate(2026, 10, 5)},        {"31102026", QDate(2026, 10, 31)},
        {"15.03.2019", QDate(2019, 3, 15)},      {"29.02.2028", QDate(2028, 2, 29)},
        {"01.01.0001", QDate(1, 1, 1)},          {"31.12.9999", QDate(9999, 12, 31)},
    };
    for (const auto &[typed, stored] : cases) {
        dates.field->setDate(QDate(2026, 11, 30)); // a November date, as in the trip dialog
        dates.tabInAndType(QString::fromLatin1(typed));
        EXPECT_EQ(dates.field->date(), stored) << typed;
        EXPECT_EQ(dates.field->text(), stored.toString("dd.MM.yyyy")) << "shown in its own form";
        EXPECT_TRUE(dates.field->isInputValid()) << typed;
    }
    dates.field->setDate(QDate(2026, 11, 30));
    typeOver(*dates.field, "3.4.2025");
    EXPECT_EQ(dates.field->date(), QDate(2025, 4, 3)) << "after a click and Ctrl+A";
}

TEST(TypedDate, ADateThatDoesNotExistIsMarkedAndKeepsTheLastValidDate)
{
    FieldWindow<DateField> dates;
    ASSERT_TRUE(dates.show());
    for (const char *typed : {"31.02.2026", "29.02.2025", "1.1.000", "01.01.0000", "05.13.2026",
                              "00.10.2026", "1.1.10000", "5.10.", "0510", "5..10.2026"}) {
        dates.field->setDate(QDate(2026, 11, 30));
        dates.tabInAndType(QString::fromLatin1(typed));
        EXPECT_EQ(dates.field->date(), QDate(2026, 11, 30)) << typed;
        EXPECT_EQ(dates.field->text(), QString::fromLatin1(typed)) << "the typed text stays";
        EXPECT_FALSE(dates.field->isInputValid()) << typed;
        EXPECT_FALSE(dates.field->toolTip().isEmpty()) << "the mark says why";
    }
    dates.field->commitOrRevert();
    EXPECT_EQ(dates.field->text(), QStringLiteral("30.11.2026"));
    EXPECT_TRUE(dates.field->isInputValid());

    dates.before->setFocus();
    QTest::keyClick(dates.before, Qt::Key_Tab);
    QTest::keyClicks(dates.field, "1x2/3");
    EXPECT_EQ(dates.field->text(), QStringLiteral("123")) << "only digits and full stops";
}

TEST(TypedTime, EveryWrittenFormIsTheTypedTimeWithZeroSecondsWhenNoneAreGiven)
{
    FieldWindow<TimeField> times;
    ASSERT_TRUE(times.show());
    const struct {
        const char *typed;
        QTime stored;
    } cases[] = {
        {"08:15", QTime(8, 15)},         {"8:15", QTime(8, 15)}, {"8:15:30", QTime(8, 15, 30)},
        {"0815", QTime(8, 15)},          {"815", QTime(8, 15)},  {"081530", QTime(8, 15, 30)},
        {"23:59:59", QTime(23, 59, 59)}, {"0:00", QTime(0, 0)},
    };
    for (const auto &[typed, stored] : cases) {
        times.field->setTime(QTime(17, 42, 13));
        times.tabInAndType(QString::fromLatin1(typed));
        EXPECT_EQ(times.field->time(), stored) << typed;
        EXPECT_EQ(times.field->text(), stored.toString("HH:mm:ss")) << typed;
    }
    for (const char *typed : {"24:00", "8:60", "8:15:60", "8:", ":15"}) {
        times.field->setTime(QTime(17, 42, 13));
        times.tabInAndType(QString::fromLatin1(typed));
        EXPECT_EQ(times.field->time(), QTime(17, 42, 13)) << typed;
        EXPECT_FALSE(times.field->isInputValid()) << typed;
    }
}

TEST(TypedMoments, ThousandsOfRandomDatesAndTimesComeBackAsTyped)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<qint64> days(QDate(1, 1, 1).toJulianDay(),
                                               QDate(9999, 12, 31).toJulianDay());
    std::uniform_int_distribution<int> seconds(0, 86399);
    {
        FieldWindow<DateField> dates;
        ASSERT_TRUE(dates.show());
        for (int i = 0; i < 1000; ++i) {
            const QDate date = QDate::fromJulianDay(days(random));
            QStringList forms = {date.toString("dd.MM.yyyy"), date.toString("d.M.yyyy"),
                                 date.toString("ddMMyyyy")};
            // Two-digit years only where they stand for this date.
            if (std::abs(date.year() - QDate::currentDate().year()) < 49)
                forms << date.toString("d.M.yy") << date.toString("ddMMyy");
            for (const QString &typed : forms) {
                dates.field->setDate(QDate(2000, 1, 1));
                dates.tabInAndType(typed);
                ASSERT_EQ(dates.field->date(), date) << typed.toStdString();
            }
        }
    }
    FieldWindow<TimeField> times;
    ASSERT_TRUE(times.show());
    for (int i = 0; i < 1000; ++i) {
        const QTime time = QTime(0, 0).addSecs(seconds(random));
        const QTime minute(time.hour(), time.minute());
        const QList<std::pair<QString, QTime>> forms = {{time.toString("H:mm:ss"), time},
                                                        {time.toString("HH:mm"), minute},
                                                        {time.toString("H:mm"), minute},
                                                        {time.toString("HHmm"), minute}};
        for (const auto &[typed, stored] : forms) {
            times.field->setTime(QTime(12, 0));
            times.tabInAndType(typed);
            ASSERT_EQ(times.field->time(), stored) << typed.toStdString();
        }
    }
}

TEST(TypedMoments, ArrowKeysStepTheSectionTheCursorStandsIn)
{
    FieldWindow<DateField> dates;
    ASSERT_TRUE(dates.show());
    dates.field->setDate(QDate(2026, 1, 31));
    dates.field->setFocus();
    auto *edit = dates.field->findChild<QLineEdit *>();
    edit->setCursorPosition(4); // in the month
    QTest::keyClick(dates.field, Qt::Key_Up);
    EXPECT_EQ(dates.field->date(), QDate(2026, 2, 28));
    edit->setCursorPosition(8); // in the year
    QTest::keyClick(dates.field, Qt::Key_Down);
    EXPECT_EQ(dates.field->date(), QDate(2025, 2, 28));
    edit->setCursorPosition(0);
    QTest::keyClick(dates.field, Qt::Key_Up);
    EXPECT_EQ(dates.field->date(), QDate(2025, 3, 1));
}

// --- Number fields ---------------------------------------------------------------------------

TEST(TypedNumber, FullStopAndCommaAreDecimalSeparatorsButGroupingIsNeverGuessed)
{
    FieldWindow<NumberField> window(NumberField::Kind::Decimal);
    ASSERT_TRUE(window.show());
    NumberField &field = *window.field;
    const struct {
        const char *typed;
        const char *shown; // after the field lost the focus
        double value;
        bool valid;
    } cases[] = {
        {"12.5", "12,5", 12.5, true},
        {"12,5", "12,5", 12.5, true},
        {"-3", "-3", -3, true},
        {"+7.25", "+7,25", 7.25, true},
        {"1.5e2", "1,5e2", 150, true},
        {"48.7251", "48,7251", 48.7251, true},
        {"48,725", "48,725", 48.725, true},
        {"48.725", "48.725", 0, false},
        {"1.000,5", "1,0005", 1.0005, true}, // the comma after a full stop is refused
        {"12-3", "123", 123, true},
        {"1e5e", "1e5", 100000, true},
        {"-", "-", 0, false},
    };
    for (const auto &[typed, shown, value, valid] : cases) {
        typeOver(field, QString::fromLatin1(typed));
        EXPECT_EQ(field.text(), QString::fromLatin1(shown)) << typed;
        EXPECT_EQ(field.value(), value) << typed;
        EXPECT_EQ(field.isInputValid(), valid) << typed;
    }
}

TEST(TypedNumber, WholeNumbersTakeADecimalSeparatorRoundToEvenAndRefuseWhatExceeds32Bits)
{
    FieldWindow<NumberField> window(NumberField::Kind::WholeNumber);
    ASSERT_TRUE(window.show());
    NumberField &field = *window.field;
    const struct {
        const char *typed;
        const char *shown;
    } cases[] = {
        {"48725,1", "48725"},           {"48725.5", "48726"},
        {"48724,5", "48724"},           {"2147483647", "2147483647"},
        {"21474836479", "2147483647"},  {"-2147483649", "-214748364"},
        {"2147483647,6", "2147483647"}, {"12e3", "123"},
    };
    for (const auto &[typed, shown] : cases) {
        typeOver(field, QString::fromLatin1(typed));
        EXPECT_EQ(field.text(), QString::fromLatin1(shown)) << typed;
    }
    typeOver(field, "48.725");
    EXPECT_EQ(field.text(), QStringLiteral("48725")) << "a whole number's full stop groups";
}

// --- The dialogs -----------------------------------------------------------------------------

class TripDialogTypingTest : public ::testing::Test {
protected:
    TripDialogTypingTest() : form(prompts) {}
    template<typename Widget> Widget *field(const char *name)
    {
        return control<Widget>(form, name);
    }
    void fillTexts()
    {
        field<QLineEdit>("AbfahrtEd")->setText("Bonn");
        field<QLineEdit>("AnkunftEd")->setText("Köln");
        field<QPlainTextEdit>("ZweckEd")->setPlainText("Kunde");
    }
    QStringList messages()
    {
        QStringList texts;
        for (const auto &entry : prompts.asked())
            texts.append(entry.text);
        prompts.clearAsked();
        return texts;
    }

    ScriptedPrompts prompts;
    RowTable templates;
    TFahrtForm form;
};

TEST_F(TripDialogTypingTest, TheReportedEntriesAreStoredAsTyped)
{
    form.setDeparture(QDateTime(QDate(2026, 11, 5), QTime(9, 0), Qt::UTC));
    form.setArrival(QDateTime(QDate(2026, 11, 5), QTime(10, 0), Qt::UTC));
    form.setReadings(48725.1, 48725.1, 148725.1, 48725.1);
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(QApplication::focusWidget(), field<DateField>("DateTimePicker1"))
        << "the dialog opens in its first field";

    // Tab has put the keyboard in the departure date with its text selected.
    QTest::keyClicks(field<DateField>("DateTimePicker1"), "05.10.2026");
    QTest::keyClick(field<DateField>("DateTimePicker1"), Qt::Key_Tab);
    QTest::keyClicks(field<TimeField>("DateTimePicker2"), "08:15");
    QTest::keyClick(field<TimeField>("DateTimePicker2"), Qt::Key_Tab);
    typeOver(*field<DateField>("DateTimePicker3"), "31102026");
    typeOver(*field<TimeField>("DateTimePicker4"), "0930");
    typeOver(*field<NumberField>("KMED"), "12.5");
    EXPECT_EQ(field<NumberField>("KM2Ed")->text(), QStringLiteral("48737,60"));
    fillTexts();
    // Mends the arrival so that it follows the departure.
    typeOver(*field<DateField>("DateTimePicker3"), "5.10.26");
    form.OkBtnClick();
    EXPECT_EQ(messages(), QStringList());
    const Row trip = form.tripRow();
    EXPECT_EQ(trip.caption, QStringLiteral("05.10.2026 08:15:00"));
    EXPECT_EQ(trip.subItem(1), QStringLiteral("05.10.2026 09:30:00"));
    EXPECT_EQ(trip.subItem(3), QStringLiteral("12,5"));
}

TEST_F(TripDialogTypingTest, ATypedEndReadingStoresTheDistanceAsShown)
{
    form.setReadings(48725.1, 48725.1, 148725.1, 48725.1);
    ASSERT_TRUE(showActive(form));
    // 48737,7 - 48725,1 is not 12,6 in binary floating point.
    typeOver(*field<NumberField>("KM2Ed"), "48737,7");
    EXPECT_EQ(field<NumberField>("KMED")->text(), QStringLiteral("12,60"));
    EXPECT_EQ(form.tripRow().subItem(3), QStringLiteral("12,6"));
}

TEST_F(TripDialogTypingTest, OkRefusesAnUnreadableMomentThenTheTimesThenTheDistance)
{
    form.setReadings(100, 100, 100100, 100);
    ASSERT_TRUE(showActive(form));
    form.setDeparture(QDateTime(QDate(2026, 11, 5), QTime(9, 0), Qt::UTC));
    form.setArrival(QDateTime(QDate(2026, 11, 5), QTime(10, 0), Qt::UTC));
    fillTexts();
    typeOver(*field<DateField>("DateTimePicker3"), "31.02.2026");
    form.OkBtnClick();
    EXPECT_EQ(messages(),
              QStringList{"\"31.02.2026\" ist kein gültiges Datum. Geben Sie das Datum als "
                          "TT.MM.JJJJ ein."});
    EXPECT_EQ(QApplication::focusWidget(), field<DateField>("DateTimePicker3"));
    EXPECT_EQ(form.arrival().date(), QDate(2026, 11, 5)) << "the last valid date stands";

    typeOver(*field<DateField>("DateTimePicker3"), "05.11.2026");
    for (const char *distance : {"-3", "100000,01", "48.725"}) {
        typeOver(*field<NumberField>("KMED"), QString::fromLatin1(distance));
        form.OkBtnClick();
        const QStringList shown = messages();
        ASSERT_EQ(shown.size(), 1) << distance;
        if (QByteArray(distance) != "48.725") {
            EXPECT_EQ(shown.first(), kDistanceMessage);
        }
        EXPECT_EQ(QApplication::focusWidget(), field<NumberField>("KMED"));
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    typeOver(*field<NumberField>("KMED"), "100000");
    form.OkBtnClick();
    EXPECT_EQ(messages(), QStringList()) << "100000 km is the longest trip taken";
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(TripDialogTypingTest, AStoredDistanceWithMoreDecimalsIsKeptUntilItIsEdited)
{
    const Row stored{"03.11.2026 08:00:00",
                     {"Bonn", "03.11.2026 09:00:00", "Köln", "12,345", "Kunde", "Geschäftlich"}};
    form.setReadings(100, 100, 100100, 112.345);
    form.setFromTrip(stored);
    EXPECT_EQ(field<NumberField>("KMED")->text(), QStringLiteral("12,35"));
    EXPECT_EQ(form.tripRow(), stored) << "nobody touched the distance";

    typeOver(*field<NumberField>("KMED"), "12,3");
    EXPECT_EQ(form.tripRow().subItem(3), QStringLiteral("12,3"));
}

TEST(TemplateEditorTyping, RefusesNegativeAndOverlongDistancesWithTheFocusInTheDistance)
{
    ScriptedPrompts prompts;
    TVorlageNeuForm editor(prompts);
    ASSERT_TRUE(showActive(editor));
    control<QLineEdit>(editor, "DescEd")->setText("Büro");
    control<QLineEdit>(editor, "AbfahrtEd")->setText("Bonn");
    control<QLineEdit>(editor, "AnkunftEd")->setText("Köln");
    control<QPlainTextEdit>(editor, "ZweckEd")->setPlainText("Kunde");
    for (const char *distance : {"-0,5", "100001"}) {
        typeOver(*control<NumberField>(editor, "KMED"), QString::fromLatin1(distance));
        editor.OkBtnClick();
        ASSERT_EQ(prompts.asked().size(), 1) << distance;
        EXPECT_EQ(prompts.asked().first().text, kDistanceMessage);
        EXPECT_EQ(QApplication::focusWidget(), control<NumberField>(editor, "KMED"));
        prompts.clearAsked();
    }
    typeOver(*control<NumberField>(editor, "KMED"), "30.5");
    editor.OkBtnClick();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.templateRow().subItem(2), QStringLiteral("30,5"));
}

TEST(MasterDataTyping, DatesAndTheStartReadingAreStoredAsTypedAndInvalidOnesNeverReachTheRecord)
{
    ScriptedPrompts prompts;
    MasterData record;
    TStammForm form(prompts, record);
    ASSERT_TRUE(showActive(form));
    typeOver(*control<NumberField>(form, "RxSpinEdit1"), "48725,1");
    EXPECT_EQ(form.record().startKm, 48725);
    EXPECT_EQ(control<NumberField>(form, "RxSpinEdit1")->text(), QStringLiteral("48725"));
    typeOver(*control<DateField>(form, "DateTimePicker1"), "15.03.2019");
    EXPECT_EQ(fromOleDate(form.record().firstRegistration),
              QDateTime(QDate(2019, 3, 15), QTime(18, 10), Qt::UTC));

    typeOver(*control<NumberField>(form, "RxSpinEdit1"), "99999999999");
    EXPECT_EQ(control<NumberField>(form, "RxSpinEdit1")->text(), QStringLiteral("999999999"))
        << "the tenth 9 is refused";
    EXPECT_EQ(form.record().startKm, 999999999);
    // A full stop before three digits groups thousands: never 49, never a question.
    typeOver(*control<NumberField>(form, "RxSpinEdit1"), "48.725");
    EXPECT_EQ(form.record().startKm, 48725);
    EXPECT_EQ(control<NumberField>(form, "RxSpinEdit1")->text(), QStringLiteral("48725"));
    EXPECT_TRUE(control<NumberField>(form, "RxSpinEdit1")->invalidInputMessage().isEmpty());
    typeOver(*control<NumberField>(form, "RxSpinEdit1"), "-");
    EXPECT_EQ(form.record().startKm, 48725) << "a text that is no number keeps the record";
    form.OkBtnClick();
    ASSERT_EQ(prompts.asked().size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), control<NumberField>(form, "RxSpinEdit1"));
    prompts.clearAsked();

    typeOver(*control<DateField>(form, "DateTimePicker2"), "31.02.2026");
    form.reject(); // closed by the window's frame: there is no cancel button
    EXPECT_EQ(control<DateField>(form, "DateTimePicker2")->text(), QStringLiteral("03.04.2008"))
        << "shown again";
    EXPECT_EQ(form.record().registration, MasterData::defaultRegistrationDate());
    EXPECT_EQ(control<NumberField>(form, "RxSpinEdit1")->text(), QStringLiteral("48725"));
}

TEST(PrintRangeTyping, OkRefusesARangeDateThatDoesNotRead)
{
    ScriptedPrompts prompts;
    const Logbook logbook;
    TDruckenForm dialog(prompts, {logbook.print, logbook.headingFont, logbook.textFont});
    ASSERT_TRUE(showActive(dialog));
    typeOver(*control<DateField>(dialog, "DateTimePicker1"), "1.10.26");
    typeOver(*control<DateField>(dialog, "DateTimePicker2"), "32.10.2026");
    dialog.OkBtnClick();
    ASSERT_EQ(prompts.asked().size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), control<DateField>(dialog, "DateTimePicker2"));
    typeOver(*control<DateField>(dialog, "DateTimePicker2"), "31.10.2026");
    dialog.OkBtnClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const PrintSettings kept = dialog.chosenOptions().print;
    EXPECT_EQ(fromOleDate(kept.rangeFrom).date(), QDate(2026, 10, 1));
    EXPECT_EQ(fromOleDate(kept.rangeTo).date(), QDate(2026, 10, 31));
}

// --- From the main window --------------------------------------------------------------------

TEST_F(MainFormTest, ALoadedNegativeDistanceShowsAsItIsAndCannotBeConfirmedUnchanged)
{
    writeLogbookFile(
        pathOf("alt.fbu"),
        {{"02.11.2026 08:00:00", {"A", "02.11.2026 09:00:00", "B", "-3", "Kunde", "Geschäftlich"}}},
        100);
    prompts.answerFile(pathOf("alt.fbu"));
    trigger("ffnen1");
    ASSERT_EQ(trips().count(), 1);
    EXPECT_EQ(form->tripList().model()->index(0, 4).data().toString(), QStringLiteral("-3"));
    form->tripList().selectRow(0);
    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_EQ(control<NumberField>(dialog, "KMED")->text(), QStringLiteral("-3,00"));
        dynamic_cast<TFahrtForm &>(dialog).OkBtnClick();
        return dialog.result();
    });
    trigger("ndern1");
    EXPECT_EQ(prompts.askedKinds(), QStringList({"open", "dialog", "inputError"}));
    EXPECT_EQ(prompts.asked().last().text, kDistanceMessage);
    prompts.clearAsked();
    EXPECT_EQ(trips().count(), 1) << "the change was not confirmed";
}

} // namespace
} // namespace fb::test
