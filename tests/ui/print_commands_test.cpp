#include "main_form_fixture.h"

#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/page_view.h"
#include "ui/dialogs/print_preview_dialog.h"

#include "file_bytes.h"
#include "file_size_limit.h"
#include "pdf_text.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace fb::test {
namespace {

const QString kNoPrinter = QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt.");

// Sets the print options as the test says and closes the dialog with OK or Cancel.
ScriptedPrompts::DialogScript printOptions(bool confirm,
                                           std::function<void(TDruckenForm &)> set = {})
{
    return [confirm, set](QDialog &dialog) {
        auto &options = dynamic_cast<TDruckenForm &>(dialog);
        if (set)
            set(options);
        control<QPushButton>(options, confirm ? "OkBtn" : "BitBtn2")->click();
        return options.result();
    };
}

class PrintCommandsTest : public MainFormTest {
protected:
    PrintCommandsTest()
    {
        trips().append(tripRow("03.11.2026 08:00:00", "Köln", "Bonn", "30,5"));
        trips().append(tripRow("04.11.2026 08:00:00", "Bonn", "Aachen", "90", "Privat"));
        form->UpdateKMSTands();
    }

    // The PDF file the window's printer prints into.
    QString printToPdf() const { return pathOf(QStringLiteral("druck.pdf")); }
};

TEST_F(PrintCommandsTest, PreviewFollowsPrintingInTheFileMenu)
{
    const auto *file = form->findChild<QMenu *>(QStringLiteral("Datei1"));
    ASSERT_NE(file, nullptr);
    QStringList names;
    for (const QAction *action : file->actions())
        names.append(action->objectName());
    const qsizetype printing = names.indexOf("Drucke1");
    ASSERT_GE(printing, 0);
    EXPECT_EQ(names.mid(printing, 3),
              (QStringList{"Drucke1", "Druckvorschau1", "Druckereinrichten1"}));
}

TEST_F(PrintCommandsTest, ConfirmedOptionsMarkTheDocumentAndPrintTheLogbook)
{
    const QString pdf = printToPdf();
    prompts.answerDialog(printOptions(true, [](TDruckenForm &options) {
        control<QLineEdit>(options, "CaptionEd")->setText("Dienstwagen K-FB 1");
    }));
    trigger("Drucke1");
    EXPECT_TRUE(form->document().isChanged());
    EXPECT_EQ(form->document().logbook().print.heading, "Dienstwagen K-FB 1");
    const QString text = pdfText(pdf);
    for (const char *expected :
         {"Dienstwagen K-FB 1", "Abfahrtszeit", "Köln", "Aachen", "Anzahl Fahrten gesamt: 2"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

TEST_F(PrintCommandsTest, CancelledOptionsPrintNothingAndKeepWhatWasSet)
{
    const QString pdf = printToPdf();
    prompts.answerDialog(printOptions(false, [](TDruckenForm &options) {
        control<QCheckBox>(options, "StammCheck")->setChecked(false);
        control<QCheckBox>(options, "PrintTimeCheck")->setChecked(false);
    }));
    trigger("Drucke1");
    EXPECT_FALSE(form->document().isChanged());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(form->document().logbook().print.printMasterData);

    // "Zeit ausdrucken" is no part of the file: opening another logbook keeps it.
    const QString other = pathOf(QStringLiteral("anderes.fbu"));
    writeLogbookFile(other, {});
    prompts.answerFile(other);
    trigger("ffnen1");
    EXPECT_TRUE(form->document().logbook().print.printMasterData);
    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_FALSE(control<QCheckBox>(dialog, "PrintTimeCheck")->isChecked());
        EXPECT_TRUE(control<QCheckBox>(dialog, "StammCheck")->isChecked());
        return int(QDialog::Rejected);
    });
    trigger("Drucke1");
}

TEST_F(PrintCommandsTest, NoPrinterIsReportedAndNothingIsPrinted)
{
    form->setPrinter(noPrinter());
    prompts.answerDialog(printOptions(true));
    trigger("Drucke1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"dialog", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).title, "Fahrtenbuch");
    EXPECT_EQ(prompts.asked().at(1).text, kNoPrinter);
    EXPECT_TRUE(form->document().isChanged());
}

TEST_F(PrintCommandsTest, TextThatDoesNotConvertEndsTheRunAndTheNextPrintGoesOut)
{
    const QString pdf = printToPdf();
    trips().append(tripRow("05.11.2026 08:00:00", "Aachen", "Köln", "weit"));
    prompts.answerDialog(printOptions(true));
    trigger("Drucke1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"dialog", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).text, "'weit' is not a valid floating point value.");
    EXPECT_FALSE(QFile::exists(pdf));

    trips().remove(2);
    prompts.clearAsked();
    prompts.answerDialog(printOptions(true));
    trigger("Drucke1");
    EXPECT_EQ(prompts.askedKinds(), QStringList{"dialog"});
    EXPECT_TRUE(pdfText(pdf).contains("Aachen"));
}

TEST_F(PrintCommandsTest, PrintIntoAFileKeepsThePreviousFileOnFailureAndNeverTakesTheLogbook)
{
    const QString pdf = printToPdf();
    ASSERT_TRUE(writeFileBytes(pdf, "voriger Ausdruck"));
    prompts.answerDialog(printOptions(true));
    {
        const FileSizeLimit cut(4096);
        trigger("Drucke1");
    }
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"dialog", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).text, "File too large.");
    EXPECT_EQ(fileBytes(pdf), "voriger Ausdruck");
    EXPECT_EQ(QDir(pathOf(QString())).entryList(QDir::Files | QDir::Hidden),
              QStringList{"druck.pdf"});

    // The printout may not replace the logbook, whatever name the printer set-up gives it.
    const QString logbook = pathOf(QStringLiteral("fahrten.fbu"));
    writeLogbookFile(logbook, {});
    form->document().setFileName(logbook);
    const QString link = pathOf(QStringLiteral("verweis.pdf"));
    ASSERT_TRUE(QFile::link(logbook, link));
    const QByteArray stored = fileBytes(logbook);
    form->setPrinter(pdfPrinter(link));
    prompts.clearAsked();
    prompts.answerDialog(printOptions(true));
    trigger("Drucke1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"dialog", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).text, "Der Ausdruck würde das Fahrtenbuch selbst "
                                          "überschreiben. Bitte eine andere Datei wählen.");
    EXPECT_EQ(fileBytes(logbook), stored);
}

TEST_F(PrintCommandsTest, PreviewShowsThePagesAndMarksTheDocumentOnlyWhenPrintedFromIt)
{
    int pagesShown = 0;
    const auto previewAnswering = [&pagesShown](int answer) {
        return [&pagesShown, answer](QDialog &dialog) {
            EXPECT_EQ(dialog.objectName(), "Druckvorschau");
            // The pages after the first join the view while it is shown.
            auto &preview = dynamic_cast<PrintPreviewDialog &>(dialog);
            EXPECT_TRUE(QTest::qWaitFor([&preview] { return preview.hasAllPages(); }));
            const auto *pages = dialog.findChild<PageView *>();
            pagesShown = pages ? pages->pageCount() : 0;
            return answer;
        };
    };
    prompts.answerDialog(printOptions(false));
    trigger("Druckvorschau1");
    EXPECT_EQ(prompts.askedKinds(), QStringList{"dialog"});

    prompts.answerDialog(printOptions(true));
    prompts.answerDialog(previewAnswering(QDialog::Rejected));
    trigger("Druckvorschau1");
    EXPECT_EQ(pagesShown, 2) << "the trips and the summary";
    EXPECT_FALSE(form->document().isChanged());

    prompts.answerDialog(printOptions(true));
    prompts.answerDialog(previewAnswering(QDialog::Accepted));
    trigger("Druckvorschau1");
    EXPECT_EQ(pagesShown, 2);
    EXPECT_TRUE(form->document().isChanged());
}

TEST_F(PrintCommandsTest, PreviewOfTextThatDoesNotConvertIsAnErrorInsteadOfEmptyPages)
{
    trips().append(tripRow("kein Datum", "Aachen", "Köln", "12"));
    prompts.answerDialog(printOptions(true, [](TDruckenForm &options) {
        control<QCheckBox>(options, "PrintTimeCheck")->setChecked(false);
    }));
    trigger("Druckvorschau1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"dialog", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).text, "'kein Datum' is not a valid date and time.");
}

TEST_F(PrintCommandsTest, PrinterSetupChoosesThePrinterThatPrintingUses)
{
    QPrinter *setUp = nullptr;
    prompts.answerDialog([&setUp](QDialog &dialog) {
        auto &setup = dynamic_cast<QPrintDialog &>(dialog);
        EXPECT_EQ(setup.objectName(), "PrinterSetupDialog1");
        setUp = setup.printer();
        setup.reject();
        return setup.result();
    });
    trigger("Druckereinrichten1");
    EXPECT_EQ(setUp, &form->printer());
    EXPECT_FALSE(form->document().isChanged());
}

} // namespace
} // namespace fb::test
