#include "scripted_prompts.h"
#include "widget_test_support.h"

#include "core/error.h"
#include "ui/dialogs/vorlage_neu_form.h"
#include "ui/fields/number_field.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fb::test {
namespace {

const QString kNameMessage =
    QStringLiteral("Geben Sie eine Bezeichnung für die neue Vorlage ein (frei gewählter Name).");
const QString kFromMessage = QStringLiteral("Geben Sie einen Abfahrtsort ein.");
const QString kToMessage = QStringLiteral("Geben Sie einen Ankunftsort ein.");
const QString kPurposeMessage =
    QStringLiteral("Geben Sie einen Fahrtzweck ein (z.B. Besuch von Kunde xxx).");

class VorlageNeuFormTest : public ::testing::Test {
protected:
    // The texts of the messages shown since the last call.
    QStringList takeMessages()
    {
        QStringList texts;
        for (const auto &entry : prompts.asked()) {
            EXPECT_EQ(entry.kind, QStringLiteral("inputError"));
            texts.append(entry.text);
        }
        prompts.clearAsked();
        return texts;
    }

    ScriptedPrompts prompts;
    TVorlageNeuForm form{prompts};
};

TEST_F(VorlageNeuFormTest, HasTheDesignedFieldsLabelsAndKeyboardOrder)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Neue Vorlage oder Vorlage bearbeiten"));
    EXPECT_GE(form.width(), 352) << "wider where the caption needs it";
    EXPECT_EQ(form.height(), 322);
    QStringList labels;
    for (const QLabel *label : form.findChildren<QLabel *>()) {
        labels.append(label->text().remove(u'&'));
        if (label->text().endsWith(u':')) {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
    }
    for (const char *expected : {"Bezeichnung:", "Abfahrtsort:", "Ankunftsort:", "Entfernung:",
                                 "Kilometer", "Fahrtzweck:", "Art der Fahrt:"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(control<QRadioButton>(form, "RadioButton1")->text(), QStringLiteral("Geschäftlich"));
    EXPECT_EQ(control<QRadioButton>(form, "RadioButton2")->text(), QStringLiteral("Privat"));
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton1")->isChecked());
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("0,00"));
    EXPECT_EQ(control<NumberField>(form, "KMED")->kind(), NumberField::Kind::Decimal);
    EXPECT_FALSE(control<NumberField>(form, "KMED")->hasBounds());
    EXPECT_TRUE(control<QPushButton>(form, "OkBtn")->isDefault());
    EXPECT_EQ(control<QPushButton>(form, "BitBtn2")->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(control<QPlainTextEdit>(form, "ZweckEd")->lineWrapMode(), QPlainTextEdit::NoWrap);

    const QList<QWidget *> order = {
        control<QLineEdit>(form, "DescEd"),          control<QLineEdit>(form, "AbfahrtEd"),
        control<QLineEdit>(form, "AnkunftEd"),       control<NumberField>(form, "KMED"),
        control<QRadioButton>(form, "RadioButton1"), control<QRadioButton>(form, "RadioButton2"),
        control<QPushButton>(form, "OkBtn"),         control<QPushButton>(form, "BitBtn2"),
        control<QPlainTextEdit>(form, "ZweckEd")};
    expectTabOrder(order);
}

TEST_F(VorlageNeuFormTest, ChecksNameThenPlacesThenPurposeAndMovesTheFocus)
{
    ASSERT_TRUE(showActive(form));
    control<NumberField>(form, "KMED")->setText("-"); // the distance is checked last
    form.OkBtnClick();
    EXPECT_EQ(takeMessages(), QStringList{kNameMessage});
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(form, "DescEd"));
    EXPECT_TRUE(form.isVisible()) << "the editor stays open";

    control<QLineEdit>(form, "DescEd")->setText("Büro");
    form.OkBtnClick();
    EXPECT_EQ(takeMessages(), QStringList{kFromMessage});
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(form, "AbfahrtEd"));

    control<QLineEdit>(form, "AbfahrtEd")->setText(" ");
    form.OkBtnClick();
    EXPECT_EQ(takeMessages(), QStringList{kToMessage});
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(form, "AnkunftEd"));

    control<QLineEdit>(form, "AnkunftEd")->setText("Köln");
    form.OkBtnClick();
    EXPECT_EQ(takeMessages(), QStringList{kPurposeMessage});
    EXPECT_EQ(QApplication::focusWidget(), control<QPlainTextEdit>(form, "ZweckEd"));
    EXPECT_EQ(control<QLineEdit>(form, "DescEd")->text(), QStringLiteral("Büro"))
        << "fields stay as they are";

    control<QPlainTextEdit>(form, "ZweckEd")->setPlainText("\n");
    form.OkBtnClick();
    EXPECT_EQ(takeMessages(), QStringList{"\"-\" ist keine gültige Zahl."});
    EXPECT_EQ(QApplication::focusWidget(), control<NumberField>(form, "KMED"));

    control<NumberField>(form, "KMED")->setText("0");
    form.OkBtnClick();
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(VorlageNeuFormTest, ReadsAndFillsTemplateRows)
{
    form.setFromTemplate(Row{"Kunde", {"Bonn", "Köln", "30,5", "Zeile 1\r\nZeile 2", "Privat"}});
    EXPECT_EQ(control<QLineEdit>(form, "DescEd")->text(), QStringLiteral("Kunde"));
    EXPECT_EQ(control<NumberField>(form, "KMED")->text(), QStringLiteral("30,50"));
    EXPECT_EQ(control<QPlainTextEdit>(form, "ZweckEd")->toPlainText(),
              QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton2")->isChecked());
    EXPECT_EQ(form.templateRow(),
              (Row{"Kunde", {"Bonn", "Köln", "30,5", "Zeile 1\r\nZeile 2", "Privat"}}));

    form.setFromTemplate(Row{"Klein", {"A", "B", "1", "Z", "geschäftlich"}});
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton2")->isChecked())
        << "the kind is compared case-sensitively";
    form.setFromTemplate(Row{"Groß", {"A", "B", "1", "Z", "Geschäftlich", "extra"}});
    EXPECT_TRUE(control<QRadioButton>(form, "RadioButton1")->isChecked());
    EXPECT_EQ(form.templateRow().subItems.size(), 5);

    // A distance that does not parse leaves every field as it was.
    EXPECT_THROW(form.setFromTemplate(Row{"Kaputt", {"X", "Y", "zwölf", "Z", "Privat"}}),
                 ConversionError);
    EXPECT_EQ(control<QLineEdit>(form, "DescEd")->text(), QStringLiteral("Groß"));
    EXPECT_EQ(control<QLineEdit>(form, "AbfahrtEd")->text(), QStringLiteral("A"));
}

} // namespace
} // namespace fb::test
