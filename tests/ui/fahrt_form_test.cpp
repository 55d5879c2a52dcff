#include "scripted_prompts.h"
#include "widget_test_support.h"

#include "model/row_table.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace fb::test {
namespace {

const QString kTimeMessage =
    QStringLiteral("Der Abfahrtszeitpunkt muss vor der Ankunftszeit liegen.");
const QString kFromMessage = QStringLiteral("Geben Sie einen Abfahrtsort ein.");
const QString kToMessage = QStringLiteral("Geben Sie einen Ankunftsort ein.");
const QString kPurposeMessage =
    QStringLiteral("Geben Sie einen Fahrtzweck ein (z.B. Besuch von Kunde xxx).");

QDateTime at(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 11, day), QTime(hour, minute), Qt::UTC);
}

class FahrtFormTest : public ::testing::Test {
protected:
    FahrtFormTest() : form(prompts) {}

    // The dialog shown as a window of its own, so the focus can be checked.
    void showDialog() { ASSERT_TRUE(showActive(form)); }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &entry : prompts.asked())
            texts.append(entry.text);
        return texts;
    }
    void fillValidTrip()
    {
        form.setDeparture(at(3, 8));
        form.setArrival(at(3, 9));
        control<QLineEdit>(form, "AbfahrtEd")->setText("Bonn");
        control<QLineEdit>(form, "AnkunftEd")->setText("Köln");
        control<QPlainTextEdit>(form, "ZweckEd")->setPlainText("Kunde");
    }
    void typeInto(NumberField *field, const QString &text)
    {
        field->setFocus();
        field->setText(text);
    }

    ScriptedPrompts prompts;
    RowTable templates;
    TFahrtForm form;
};

TEST_F(FahrtFormTest, HasTheDesignedFieldsLabelsAndTabOrder)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Neue Fahrt"));
    EXPECT_EQ(form.size(), QSize(351, 460));
    QStringList labels;
    for (const QLabel *label : form.findChildren<QLabel *>())
        labels.append(label->text().remove(u'&'));
    for (const char *expected :
         {"Vorlage:", "Abfahrtzeit", "Abfahrtsort:", "Ankuftszeit:", "Ankunftsort:", "Entfernung:",
          "Fahrtzweck:", "Art der Fahrt:", "KM-Stand Beginn:", "KM-Stand Ende:", "Kilometer",
          "In den Stammdaten kann der Start Kilometerstand hinterlegt werden."})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(expected))) << expected;
    for (const QLabel *label : form.findChildren<QLabel *>()) {
        if (label->text().endsWith(u':') || label->text().remove(u'&') == "Abfahrtzeit") {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
    }
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton1")->isChecked());
    EXPECT_TRUE(control<NumberField>(form, "KM1Ed")->isReadOnly());
    EXPECT_TRUE(control<QPushButton>(form, "OkBtn")->isDefault());
    EXPECT_FALSE(control<QComboBox>(form, "ComboBox1")->isEditable());
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("0,00"));

    const QList<QWidget *> order = {
        control<DateField>(form, "DateTimePicker1"), control<TimeField>(form, "DateTimePicker2"),
        control<QLineEdit>(form, "AbfahrtEd"),       control<DateField>(form, "DateTimePicker3"),
        control<TimeField>(form, "DateTimePicker4"), control<QLineEdit>(form, "AnkunftEd"),
        control<NumberField>(form, "KMED"),          control<QRadioButton>(form, "RadioButton1"),
        control<QRadioButton>(form, "RadioButton2"), control<QPushButton>(form, "OkBtn"),
        control<QPushButton>(form, "BitBtn2"),       control<QComboBox>(form, "ComboBox1"),
        control<NumberField>(form, "KM1Ed"),         control<NumberField>(form, "KM2Ed"),
        control<QPlainTextEdit>(form, "ZweckEd")};
    expectTabOrder(order);
}

TEST_F(FahrtFormTest, ChecksTimesThenPlacesThenPurposeAndMovesTheFocus)
{
    showDialog();
    form.setDeparture(at(3, 10));
    form.setArrival(at(3, 9));
    form.OkBtnClick();
    EXPECT_EQ(messages(), QStringList{kTimeMessage}) << "only the first failure is shown";
    EXPECT_EQ(QApplication::focusWidget(), control<TimeField>(form, "DateTimePicker4"));
    EXPECT_EQ(form.result(), QDialog::Rejected);

    form.setArrival(at(3, 11));
    form.OkBtnClick();
    EXPECT_EQ(messages().last(), kFromMessage);
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(form, "AbfahrtEd"));

    control<QLineEdit>(form, "AbfahrtEd")->setText("Bonn");
    form.OkBtnClick();
    EXPECT_EQ(messages().last(), kToMessage);
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(form, "AnkunftEd"));

    control<QLineEdit>(form, "AnkunftEd")->setText("Köln");
    form.OkBtnClick();
    EXPECT_EQ(messages().last(), kPurposeMessage);
    EXPECT_EQ(QApplication::focusWidget(), control<QPlainTextEdit>(form, "ZweckEd"));
    EXPECT_EQ(control<QLineEdit>(form, "AbfahrtEd")->text(), QStringLiteral("Bonn"))
        << "fields stay as they are";

    control<QPlainTextEdit>(form, "ZweckEd")->setPlainText(" ");
    form.OkBtnClick();
    EXPECT_EQ(messages().size(), 4) << "a blank purpose is a purpose";
    EXPECT_EQ(form.result(), QDialog::Accepted);
    for (const auto &entry : prompts.asked()) {
        EXPECT_EQ(entry.kind, QStringLiteral("inputError"));
        EXPECT_TRUE(entry.title.isEmpty());
    }
}

TEST_F(FahrtFormTest, ArrivalMustBeStrictlyLaterButMayBeAnEarlierTimeOnALaterDay)
{
    fillValidTrip();
    form.setDeparture(at(3, 8));
    form.setArrival(at(3, 8));
    form.OkBtnClick();
    EXPECT_EQ(messages(), QStringList{kTimeMessage});

    form.setArrival(at(4, 7));
    form.OkBtnClick();
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(FahrtFormTest, KilometreFieldsFollowEachOtherWithinTheEndBounds)
{
    showDialog();
    form.setReadings(12345, 12345, 112345, 12345);
    EXPECT_EQ(control<NumberField>(form, "KM1Ed")->text(), QStringLiteral("12345,00"));

    typeInto(control<NumberField>(form, "KMED"), "25,5");
    EXPECT_EQ(control<NumberField>(form, "KM2Ed")->text(), QStringLiteral("12370,50"));

    typeInto(control<NumberField>(form, "KM2Ed"), "12400");
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("55,00"));

    typeInto(control<NumberField>(form, "KMED"), "200000");
    EXPECT_EQ(control<NumberField>(form, "KM2Ed")->text(), QStringLiteral("112345,00"));
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("200000"))
        << "the distance keeps what was typed";

    typeInto(control<NumberField>(form, "KMED"), "-");
    EXPECT_EQ(control<NumberField>(form, "KM2Ed")->value(), 12345)
        << "text that does not parse reads as 0";
}

TEST_F(FahrtFormTest, EndReadingBelowTheStartBecomesTheStartOnFocusLoss)
{
    showDialog();
    form.setReadings(12345, 12345, 112345, 12345);
    typeInto(control<NumberField>(form, "KM2Ed"), "12000");
    EXPECT_EQ(control<NumberField>(form, "KM2Ed")->text(), QStringLiteral("12000"));
    control<QLineEdit>(form, "AbfahrtEd")->setFocus();
    EXPECT_EQ(control<NumberField>(form, "KM2Ed")->text(), QStringLiteral("12345,00"));
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("0,00"));
}

TEST_F(FahrtFormTest, TemplateFillsPlacesDistancePurposeAndKindButNeverDatesOrStartReading)
{
    Row business{"Kunde Meier", {"Bonn", "Köln", "30,5", "Wartung\r\nAnlage 2", "Geschäftlich"}};
    Row privateTrip{"Oma", {"Bonn", "Siegburg", "12", "Besuch", "geschäftlich"}};
    templates.append(business);
    templates.append(privateTrip);
    form.setDeparture(at(3, 8));
    form.setArrival(at(3, 9));
    form.setReadings(1000, 1000, 101000, 1000);
    form.fillTemplateList(templates.rows());
    EXPECT_EQ(control<QComboBox>(form, "ComboBox1")->count(), 2);
    EXPECT_EQ(control<QComboBox>(form, "ComboBox1")->currentIndex(), -1);

    control<QComboBox>(form, "ComboBox1")->setCurrentIndex(0);
    form.ComboBox1Change();
    EXPECT_EQ(control<QLineEdit>(form, "AbfahrtEd")->text(), QStringLiteral("Bonn"));
    EXPECT_EQ(control<QLineEdit>(form, "AnkunftEd")->text(), QStringLiteral("Köln"));
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("30,50"));
    EXPECT_EQ(control<NumberField>(form, "KM2Ed")->text(), QStringLiteral("1030,50"));
    EXPECT_EQ(control<QPlainTextEdit>(form, "ZweckEd")->toPlainText(),
              QStringLiteral("Wartung\nAnlage 2"));
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton1")->isChecked());

    control<QComboBox>(form, "ComboBox1")->setCurrentIndex(1);
    form.ComboBox1Change();
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton2")->isChecked())
        << "the kind is compared case-sensitively";
    EXPECT_EQ(form.departure(), at(3, 8));
    EXPECT_EQ(form.arrival(), at(3, 9));
    EXPECT_EQ(control<NumberField>(form, "KM1Ed")->text(), QStringLiteral("1000,00"));

    const Row trip = form.tripRow();
    EXPECT_EQ(trip.caption, QStringLiteral("03.11.2026 08:00:00"));
    EXPECT_EQ(trip.subItems,
              (QStringList{"Bonn", "03.11.2026 09:00:00", "Siegburg", "12", "Besuch", "Privat"}));
}

TEST_F(FahrtFormTest, TemplateWithABadDistanceIsReportedAndKeepsThePlaces)
{
    templates.append(Row{"Kaputt", {"Hier", "Dort", "zwölf", "Zweck", "Privat"}});
    form.fillTemplateList(templates.rows());
    control<QComboBox>(form, "ComboBox1")->setCurrentIndex(0);
    Q_EMIT control<QComboBox>(form, "ComboBox1")->activated(0);
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("stop")});
    EXPECT_EQ(prompts.asked().at(0).title, QStringLiteral("Fahrtenbuch"));
    EXPECT_EQ(control<QLineEdit>(form, "AbfahrtEd")->text(), QStringLiteral("Hier"));
    EXPECT_EQ(control<QLineEdit>(form, "AnkunftEd")->text(), QStringLiteral("Dort"));
    EXPECT_TRUE(control<QPlainTextEdit>(form, "ZweckEd")->toPlainText().isEmpty())
        << "the choice ended at the distance";
}

TEST_F(FahrtFormTest, PurposeLinesAreJoinedWithCrLf)
{
    fillValidTrip();
    control<QPlainTextEdit>(form, "ZweckEd")->setPlainText("Zeile 1\nZeile 2");
    EXPECT_EQ(form.tripRow().subItem(4), QStringLiteral("Zeile 1\r\nZeile 2"));
}

} // namespace
} // namespace fb::test
