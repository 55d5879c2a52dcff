// The entry log in the window: when each trip was entered and deleted in the list, the log's
// state in the status bar, the protocol window, and a file changed outside the program.
#include "main_form_fixture.h"

#include "checks/entry_log_report.h"
#include "ui/dialogs/entry_log_dialog.h"
#include "ui/list/trip_list_view.h"

#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>

namespace fb::test {
namespace {

class EntryLogWindowTest : public MainFormTest {
protected:
    QString cell(int row, int column)
    {
        const QAbstractItemModel *model = form->tripList().model();
        return model->data(model->index(row, column)).toString();
    }
    QString state() { return control<QLabel>(*form, "EntryLogState")->text(); }
};

TEST_F(EntryLogWindowTest, ListStatusBarAndProtocolShowTheLog)
{
    EXPECT_EQ(state(), QString());
    addTrips({tripOn(5, "Köln", "Bonn", "30"), tripOn(3, "Bonn", "Köln", "30")});
    form->tripList().selectRow(1);
    trigger("Lschen1");
    const EntryLog &log = form->document().logbook().entryLog;
    EXPECT_EQ(cell(0, 3), QStringLiteral("Köln")) << "the trip of the 3rd, entered second";
    EXPECT_EQ(cell(0, 10), localMomentText(log.enteredEvent(0)->when));
    EXPECT_EQ(cell(0, 11), QString());
    EXPECT_EQ(cell(1, 11), localMomentText(log.deletedEvent(1)->when));
    EXPECT_EQ(state(), QStringLiteral("Änderungsprotokoll: intakt"));

    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_TRUE(showActive(dialog));
        auto *events = control<QTableWidget>(dialog, "Events");
        EXPECT_EQ(events->rowCount(), 3);
        EXPECT_EQ(events->item(2, 1)->text(), QStringLiteral("Gelöscht"));
        EXPECT_EQ(events->item(2, 2)->text(), QStringLiteral("Fahrt 2"));
        // Entered today, a trip of November is entered late.
        EXPECT_TRUE(events->item(0, 5)->text().startsWith(QStringLiteral("nachgetragen: ")))
            << events->item(0, 5)->text().toStdString();
        const QRect line = events->visualItemRect(events->item(1, 2));
        QTest::mouseClick(events->viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(events->viewport(), Qt::LeftButton, {}, line.center());
        return dialog.result();
    });
    trigger("nderungsprotokollanzeigen1");
    EXPECT_EQ(form->tripList().selectedRow(), 0) << "the trip of the event chosen";

    // Changed with a hex editor: reported once on opening, and in the status bar from then on.
    prompts.answerFile(pathOf(QStringLiteral("golf.fbu")));
    trigger("Speichernunter1");
    QFile file(pathOf(QStringLiteral("golf.fbu")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const QByteArray bonn("B\0o\0n\0n\0", 8);
    bytes[bytes.indexOf(bonn) + 6] = 'm';
    file.seek(0);
    file.write(bytes);
    file.close();
    prompts.clearAsked();
    prompts.answerFile(pathOf(QStringLiteral("golf.fbu")));
    trigger("ffnen1");
    ASSERT_EQ(prompts.asked().size(), 2);
    EXPECT_EQ(prompts.asked().at(1).kind, QStringLiteral("stop"));
    EXPECT_EQ(prompts.asked().at(1).text,
              QStringLiteral("Die Datei \"golf.fbu\" wurde außerhalb des Programms verändert: "
                             "Fahrt 1 stimmt nicht mehr mit dem Protokoll überein; das Siegel "
                             "passt nicht zum Inhalt der Datei. Der Befund steht im "
                             "Änderungsprotokoll und wird beim nächsten Speichern in die Datei "
                             "übernommen."));
    EXPECT_EQ(state(), QStringLiteral("Änderungsprotokoll: außerhalb des Programms verändert"));
}

} // namespace
} // namespace fb::test
