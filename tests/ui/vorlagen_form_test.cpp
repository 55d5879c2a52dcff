#include "main_form_fixture.h"

#include "ui/dialogs/vorlage_neu_form.h"
#include "ui/dialogs/vorlagen_form.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"
#include "ui/list/row_list_view.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>

namespace fb::test {
namespace {

const Row kOffice{"Büro", {"Bonn", "Köln", "30,5", "Arbeit", "Geschäftlich"}};
const Row kGranny{"Oma", {"Bonn", "Siegburg", "12", "Besuch", "Privat"}};

// Types a template into the editor and presses OK.
ScriptedPrompts::DialogScript typeTemplate(const Row &entry)
{
    return [entry](QDialog &dialog) {
        auto &editor = dynamic_cast<TVorlageNeuForm &>(dialog);
        control<QLineEdit>(editor, "DescEd")->setText(entry.caption);
        control<QLineEdit>(editor, "AbfahrtEd")->setText(entry.subItem(0));
        control<QLineEdit>(editor, "AnkunftEd")->setText(entry.subItem(1));
        control<NumberField>(editor, "KMED")->setText(entry.subItem(2));
        control<QPlainTextEdit>(editor, "ZweckEd")->setPlainText(entry.subItem(3));
        (entry.subItem(4) == kBusinessTripKind ? control<QRadioButton>(editor, "RadioButton1")
                                               : control<QRadioButton>(editor, "RadioButton2"))
            ->setChecked(true);
        editor.OkBtnClick();
        return editor.result();
    };
}

ScriptedPrompts::DialogScript confirmEditor(std::function<void(TVorlageNeuForm &)> check = {})
{
    return [check](QDialog &dialog) {
        auto &editor = dynamic_cast<TVorlageNeuForm &>(dialog);
        if (check)
            check(editor);
        editor.OkBtnClick();
        return editor.result();
    };
}

ScriptedPrompts::DialogScript cancelEditor()
{
    return [](QDialog &dialog) {
        control<QPushButton>(dialog, "BitBtn2")->click();
        return dialog.result();
    };
}

class VorlagenFormTest : public MainFormTest {
protected:
    RowTable &templates() { return form->document().logbook().templates; }
    // Opens the template window through its command, takes the steps in it and goes back.
    void inTemplateWindow(const std::function<void(TVorlagenForm &)> &steps)
    {
        prompts.answerDialog([&steps](QDialog &dialog) {
            auto &window = dynamic_cast<TVorlagenForm &>(dialog);
            steps(window);
            window.BackBtn->click();
            return window.result();
        });
        trigger("Verwalten1");
    }
};

TEST_F(VorlagenFormTest, HasTheDesignedButtonsListAndStatusBar)
{
    inTemplateWindow([&](TVorlagenForm &window) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Vorlagen verwalten"));
        EXPECT_EQ(window.size(), QSize(780, 580));
        EXPECT_NE(window.minimumSize(), window.maximumSize()) << "resizable";
        const QList<std::pair<QPushButton *, QString>> buttons = {
            {window.BackBtn, "Zurück zur Fahrtenverwaltung..."},
            {window.NewBtn, "Neue Vorlage..."},
            {window.EditBtn, "Vorlage ändern..."},
            {window.DeleteBtn, "Vorlage löschen..."},
            {window.CopyBtn, "Vorlage kopieren..."},
        };
        for (const auto &[button, text] : buttons)
            EXPECT_EQ(button->text().remove(u'&'), text);

        QTableView *list = window.ListView1;
        const int widths[] = {150, 90, 90, 70, 250, 80};
        QStringList titles;
        for (int column = 0; column < list->model()->columnCount(); ++column) {
            titles.append(list->model()->headerData(column, Qt::Horizontal).toString());
            EXPECT_GE(list->columnWidth(column), widths[column]) << column;
        }
        EXPECT_EQ(titles, (QStringList{"Bezeichnung", "Abfahrtsort", "Ankunftsort", "Entfernung",
                                       "Fahrtzweck", "Typ"}));
        EXPECT_TRUE(list->showGrid());
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_TRUE(window.StatusBar1->currentMessage().isEmpty());

        ASSERT_TRUE(showActive(window));
        EXPECT_EQ(QApplication::focusWidget(), list) << "the arrow keys pick a template at once";
        window.BackBtn->click();
        EXPECT_FALSE(window.isVisible());
    });
}

TEST_F(VorlagenFormTest, NewAppendsWhatTheEditorHoldsAndShowsItInTheList)
{
    inTemplateWindow([&](TVorlagenForm &window) {
        prompts.answerDialog(typeTemplate(kOffice));
        window.NewBtn->click();
        prompts.answerDialog(
            typeTemplate(Row{"Zwei", {"A", "B", "1", "Zeile 1\nZeile 2", "Privat"}}));
        window.NewBtn->click();
        ASSERT_EQ(templates().count(), 2);
        EXPECT_EQ(templates().at(0), kOffice);
        EXPECT_EQ(templates().at(1).subItem(3), QStringLiteral("Zeile 1\r\nZeile 2"));
        EXPECT_EQ(window.ListView1->selectedRow(), 1);
        const QAbstractItemModel *model = window.ListView1->model();
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_EQ(model->index(0, 3).data().toString(), QStringLiteral("30,5"));
        EXPECT_EQ(model->index(1, 4).data().toString(), QStringLiteral("Zeile 1 Zeile 2"));

        prompts.answerDialog(cancelEditor());
        window.NewBtn->click();
        EXPECT_EQ(templates().count(), 2) << "a cancelled editor adds nothing";
    });
}

TEST_F(VorlagenFormTest, NewRightAfterAChangeShowsTheChangedValuesEvenInTheNextWindow)
{
    templates().append(kOffice);
    templates().append(kGranny);
    const Row changed{"Büro", {"Bonn", "Bonn-Süd", "30,5", "Arbeit", "Privat"}};
    inTemplateWindow([&](TVorlagenForm &window) {
        window.ListView1->selectRow(0);
        prompts.answerDialog([](QDialog &dialog) {
            auto &editor = dynamic_cast<TVorlageNeuForm &>(dialog);
            EXPECT_EQ(control<QLineEdit>(editor, "DescEd")->text(), QStringLiteral("Büro"));
            EXPECT_EQ(control<NumberField>(editor, "KMED")->text(), QStringLiteral("30,50"));
            control<QLineEdit>(editor, "AnkunftEd")->setText("Bonn-Süd");
            control<QRadioButton>(editor, "RadioButton2")->setChecked(true);
            editor.OkBtnClick();
            return editor.result();
        });
        window.EditBtn->click();
        EXPECT_EQ(window.ListView1->selectedRow(), 0) << "the changed row stays selected";
    });
    ASSERT_EQ(templates().count(), 2);
    EXPECT_EQ(templates().at(0), changed) << "the row keeps its place";
    EXPECT_EQ(templates().at(1), kGranny);

    // The editor's last values outlive the template window.
    inTemplateWindow([&](TVorlagenForm &window) {
        prompts.answerDialog(confirmEditor([](TVorlageNeuForm &editor) {
            EXPECT_EQ(control<QLineEdit>(editor, "AnkunftEd")->text(), QStringLiteral("Bonn-Süd"));
            EXPECT_TRUE(control<QRadioButton>(editor, "RadioButton2")->isChecked());
        }));
        window.NewBtn->click();
    });
    ASSERT_EQ(templates().count(), 3);
    EXPECT_EQ(templates().at(2), changed);
}

TEST_F(VorlagenFormTest, CopyAppendsAndKeepsTheOriginalDeleteRemovesAtOnce)
{
    templates().append(kOffice);
    templates().append(kGranny);
    inTemplateWindow([&](TVorlagenForm &window) {
        window.ListView1->selectRow(0);
        prompts.answerDialog(confirmEditor([](TVorlageNeuForm &editor) {
            control<QLineEdit>(editor, "DescEd")->setText("Büro 2");
        }));
        window.CopyBtn->click();
        ASSERT_EQ(templates().count(), 3);
        EXPECT_EQ(templates().at(0), kOffice);
        EXPECT_EQ(templates().at(2).caption, QStringLiteral("Büro 2"));
        EXPECT_EQ(templates().at(2).subItems, kOffice.subItems);

        window.ListView1->selectRow(1);
        prompts.answerDialog(cancelEditor());
        window.EditBtn->click();
        EXPECT_EQ(templates().at(1), kGranny) << "a cancelled change leaves the row";

        window.DeleteBtn->click();
        ASSERT_EQ(templates().count(), 2);
        EXPECT_EQ(templates().at(1).caption, QStringLiteral("Büro 2"));
        EXPECT_EQ(window.ListView1->model()->rowCount(), 2);
    });
    EXPECT_EQ(prompts.askedKinds(), (QStringList{"dialog", "dialog", "dialog"})) << "no question";
}

TEST_F(VorlagenFormTest, EnterOnATemplateChangesIt)
{
    templates().append(kOffice);
    inTemplateWindow([&](TVorlagenForm &window) {
        ASSERT_TRUE(showActive(window));
        window.ListView1->selectRow(0);
        prompts.answerDialog(confirmEditor([](TVorlageNeuForm &editor) {
            EXPECT_EQ(control<QLineEdit>(editor, "DescEd")->text(), QStringLiteral("Büro"));
            control<QLineEdit>(editor, "DescEd")->setText("Büro neu");
        }));
        QTest::keyClick(window.ListView1, Qt::Key_Return);
    });
    EXPECT_EQ(templates().at(0).caption, QStringLiteral("Büro neu"));
}

TEST_F(VorlagenFormTest, CommandsWithoutASelectionDoNothing)
{
    templates().append(kOffice);
    inTemplateWindow([&](TVorlagenForm &window) {
        window.ListView1->clearSelection();
        window.EditBtn->click();
        window.CopyBtn->click();
        window.DeleteBtn->click();
    });
    EXPECT_EQ(templates().count(), 1);
    EXPECT_EQ(prompts.askedKinds(), QStringList{"dialog"});
}

TEST_F(VorlagenFormTest, DistanceThatDoesNotParseEndsTheCommandBeforeTheEditor)
{
    const Row broken{"Kaputt", {"A", "B", "zwölf", "Z", "Privat"}};
    templates().append(broken);
    inTemplateWindow([&](TVorlagenForm &window) {
        window.ListView1->selectRow(0);
        window.EditBtn->click();
        window.CopyBtn->click();
    });
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"dialog", "stop", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).title, QStringLiteral("Fahrtenbuch"));
    EXPECT_TRUE(prompts.asked().at(1).text.endsWith(u'.'));
    ASSERT_EQ(templates().count(), 1);
    EXPECT_EQ(templates().at(0), broken);
}

TEST_F(VorlagenFormTest, OpeningAndClosingTheWindowMarksTheDocumentChanged)
{
    EXPECT_FALSE(form->document().isChanged());
    prompts.answerDialog([](QDialog &dialog) {
        dynamic_cast<TVorlagenForm &>(dialog).BackBtn->click();
        return dialog.result();
    });
    trigger("Verwalten1");
    EXPECT_TRUE(form->document().isChanged());
    EXPECT_TRUE(caption().endsWith("*]"));
}

TEST_F(VorlagenFormTest, SecondOfTwoTemplatesWithOneNameAppliesTheSecondRow)
{
    templates().append(Row{"Kunde", {"Bonn", "Köln", "30", "Erster", "Geschäftlich"}});
    templates().append(Row{"Kunde", {"Bonn", "Aachen", "90", "Zweiter", "Privat"}});
    prompts.answerDialog([](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_EQ(control<QComboBox>(fahrt, "ComboBox1")->count(), 2);
        control<QComboBox>(fahrt, "ComboBox1")->setCurrentIndex(1);
        Q_EMIT control<QComboBox>(fahrt, "ComboBox1")->activated(1);
        EXPECT_EQ(control<QLineEdit>(fahrt, "AnkunftEd")->text(), QStringLiteral("Aachen"));
        EXPECT_EQ(control<NumberField>(fahrt, "KMED")->text(), QStringLiteral("90,00"));
        EXPECT_EQ(control<QPlainTextEdit>(fahrt, "ZweckEd")->toPlainText(),
                  QStringLiteral("Zweiter"));
        EXPECT_TRUE(control<QRadioButton>(fahrt, "RadioButton2")->isChecked());
        return int(QDialog::Rejected);
    });
    trigger("Neu1");
}

TEST_F(VorlagenFormTest, DeletingAUsedTemplateLeavesTheTripsAlone)
{
    templates().append(kOffice);
    prompts.answerDialog([](QDialog &dialog) {
        auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        fahrt.setDeparture(QDateTime(QDate(2026, 11, 2), QTime(8, 0), Qt::UTC));
        fahrt.setArrival(QDateTime(QDate(2026, 11, 2), QTime(9, 0), Qt::UTC));
        control<QComboBox>(fahrt, "ComboBox1")->setCurrentIndex(0);
        Q_EMIT control<QComboBox>(fahrt, "ComboBox1")->activated(0);
        fahrt.OkBtnClick();
        return fahrt.result();
    });
    trigger("Neu1");
    ASSERT_EQ(trips().count(), 1);
    const Row trip = trips().at(0);
    EXPECT_EQ(trip.subItem(2), QStringLiteral("Köln"));

    prompts.answerDialog([](QDialog &dialog) {
        auto &vorlagen = dynamic_cast<TVorlagenForm &>(dialog);
        vorlagen.ListView1->selectRow(0);
        vorlagen.DeleteBtn->click();
        return int(QDialog::Accepted);
    });
    trigger("Verwalten1");
    EXPECT_TRUE(templates().isEmpty());
    EXPECT_EQ(trips().at(0), trip);
}

TEST_F(VorlagenFormTest, TemplatesSurviveSaveAndLoadAndNewEmptiesThem)
{
    templates().append(kOffice);
    templates().append(Row{"", {"", "", "0", "Zeile 1\r\nZeile 2", "privat"}});
    prompts.answerFile(pathOf("vorlagen.fbu"));
    trigger("Speichern1");
    const QList<Row> saved = templates().rows();

    prompts.answerQuestion(QMessageBox::No);
    form->document().SetChanged();
    trigger("Ne1");
    EXPECT_TRUE(templates().isEmpty());
    inTemplateWindow(
        [](TVorlagenForm &window) { EXPECT_EQ(window.ListView1->model()->rowCount(), 0); });

    prompts.answerQuestion(QMessageBox::No); // the template window marked the logbook changed
    prompts.answerFile(pathOf("vorlagen.fbu"));
    trigger("ffnen1");
    EXPECT_EQ(templates().rows(), saved);
    inTemplateWindow(
        [](TVorlagenForm &window) { EXPECT_EQ(window.ListView1->model()->rowCount(), 2); });
}

} // namespace
} // namespace fb::test
