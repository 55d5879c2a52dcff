#include "file_bytes.h"
#include "main_form_fixture.h"
#include "xlrd_sheet.h"

#include "export/trip_export.h"
#include "ui/list/trip_list_view.h"
#include "ui/window/export_command.h"

#include <QFile>
#include <QFileDialog>

namespace fb::test {
namespace {

class ExportCommandTest : public MainFormTest {
protected:
    // Three saved trips, the middle one deleted, the first selected.
    void SetUp() override
    {
        const QString logbook = pathOf(QStringLiteral("fahrten.fbu"));
        Row deleted = tripRow(QStringLiteral("02.11.2026 08:00:00"), QStringLiteral("Bonn"),
                              QStringLiteral("Köln"), QStringLiteral("30,00"));
        deleted.padSubItems(TripSubItem::Count);
        deleted.subItems[TripSubItem::Deleted] = kDeletedMark;
        writeLogbookFile(
            logbook,
            {tripRow(QStringLiteral("01.11.2026 08:00:00"), QStringLiteral("Düren"),
                     QStringLiteral("Aachen"), QStringLiteral("12,50")),
             deleted,
             tripRow(QStringLiteral("03.11.2026 09:30:00"), QStringLiteral("Köln"),
                     QStringLiteral("Essen"), QStringLiteral("70,00"), QStringLiteral("Privat"))},
            1000);
        form->document().OpenFileWithName(logbook);
        form->tripList().selectRow(0);
        m_caption = caption();
    }

    void expectDocumentUntouched()
    {
        EXPECT_FALSE(form->document().isChanged());
        EXPECT_EQ(caption(), m_caption);
        EXPECT_EQ(form->tripList().selectedRow(), 0);
        EXPECT_EQ(trips().count(), 3);
    }

    QString m_caption;
};

TEST_F(ExportCommandTest, CancelledDialogCreatesNothing)
{
    prompts.answerFile(QString());
    trigger("Exportieren1");
    ASSERT_EQ(prompts.askedKinds(), QStringList{"save"});
    EXPECT_TRUE(QDir(m_folder.path()).entryList({"*.xls"}, QDir::Files).isEmpty());
    expectDocumentUntouched();
}

TEST_F(ExportCommandTest, LiveTripsFillConsecutiveRowsAndTheLogbookStaysUnchanged)
{
    const QString target = pathOf(QStringLiteral("fahrten.xls"));
    prompts.answerFile(target);
    trigger("Exportieren1");
    EXPECT_EQ(prompts.askedKinds(), QStringList{"save"});
    EXPECT_EQ(prompts.lastFileKind().defaultSuffix, QStringLiteral("xls"));

    const Sheet sheet = readSheetWithXlrd(target);
    ASSERT_EQ(sheet.size(), 3) << "the deleted trip leaves no gap";
    EXPECT_EQ(sheet.at(0).mid(0, 7),
              (QStringList{"Abfahrtszeit", "Abfahrtsort", "Ankunftszeit", "Ankunftsort",
                           "Entfernung", "Fahrtzweck", "Art"}));
    EXPECT_EQ(sheet.at(1).at(0), QStringLiteral("01.11.2026 08:00:00"));
    EXPECT_EQ(sheet.at(1).at(1), QStringLiteral("Düren"));
    EXPECT_EQ(sheet.at(1).at(4), QStringLiteral("12,50"));
    EXPECT_EQ(sheet.at(2).at(1), QStringLiteral("Köln"));
    EXPECT_EQ(sheet.at(2).at(6), QStringLiteral("Privat"));
    EXPECT_EQ(sheet.at(2).at(8), trips().at(2).subItem(TripSubItem::KmStart));
    EXPECT_EQ(sheet.at(2).at(8), QStringLiteral("1012,5")) << "the reading after the live trip";
    expectDocumentUntouched();
}

TEST_F(ExportCommandTest, DialogOffersTheLastTargetAgain)
{
    const QString target = pathOf(QStringLiteral("erste.xls"));
    prompts.answerFile(target);
    trigger("Exportieren1");
    EXPECT_TRUE(prompts.lastFileKind().startPath.isEmpty());
    prompts.answerFile(QString());
    trigger("Exportieren1");
    EXPECT_EQ(prompts.lastFileKind().startPath, target);
}

TEST_F(ExportCommandTest, UnwritableTargetIsShownByTheGeneralErrorDisplay)
{
    prompts.answerFile(pathOf(QStringLiteral("fehlt/fahrten.xls")));
    trigger("Exportieren1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"save", "stop"}));
    EXPECT_EQ(prompts.asked().at(1).text, QStringLiteral("Can not create a docfile."));
    expectDocumentUntouched();
}

TEST_F(ExportCommandTest, MoreTripsThanASheetHoldsAreRefusedBeforeAFileExists)
{
    const Row live = trips().at(0);
    // One of the three is deleted: one live trip more than a sheet holds.
    for (qsizetype i = trips().count(); i <= kMaxExportedTrips + 1; ++i)
        trips().append(live);
    const QString target = pathOf(QStringLiteral("zu_viele.xls"));
    prompts.answerFile(target);
    trigger("Exportieren1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"save", "stop"}));
    EXPECT_TRUE(prompts.asked().at(1).text.startsWith(QStringLiteral("Zu viele Fahrten")));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(form->document().isChanged());
}

TEST_F(ExportCommandTest, TheLogbookItselfIsNotOverwritten)
{
    const QString logbook = pathOf(QStringLiteral("fahrten.fbu"));
    const QByteArray before = fileBytes(logbook);
    ASSERT_FALSE(before.isEmpty());
    prompts.answerFile(logbook);
    trigger("Exportieren1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"save", "stop"}));
    EXPECT_EQ(fileBytes(logbook), before);
    expectDocumentUntouched();
}

TEST_F(ExportCommandTest, AuditExportWritesTheChosenFolderAndOffersItAgain)
{
    prompts.answerFile(QString());
    trigger("Betriebspruefung1");
    ASSERT_EQ(prompts.askedKinds(), QStringList{"folder"});
    EXPECT_TRUE(QDir(m_folder.path()).entryList({"*.csv"}, QDir::Files).isEmpty());

    const QString folder = pathOf(QStringLiteral("pruefung"));
    prompts.answerFile(folder);
    trigger("Betriebspruefung1");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/fahrten.csv")).count("\r\n"), 1 + 3);

    // The folder now holds files: refused through the general error display.
    prompts.clearAsked();
    prompts.answerFile(folder);
    trigger("Betriebspruefung1");
    EXPECT_EQ(prompts.lastFileKind().startPath, folder);
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"folder", "stop"}));
    EXPECT_TRUE(prompts.asked().at(1).text.contains(QStringLiteral("enthält bereits Dateien")));
    expectDocumentUntouched();
}

TEST(ExportDialog, ShowsTheDescriptionAndFiltersSpreadsheets)
{
    QFileDialog dialog;
    prepareFileDialog(dialog, spreadsheetFiles(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("xls"));
    EXPECT_TRUE(dialog.testOption(QFileDialog::HideNameFilterDetails));
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_TRUE(spreadsheetFiles().filter.startsWith("Excel Dateien (*-xls)"));
    EXPECT_TRUE(spreadsheetFiles().filter.endsWith("(*.xls)"));
}

} // namespace
} // namespace fb::test
