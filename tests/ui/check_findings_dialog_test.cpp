#include "main_form_fixture.h"

#include "row_edit.h"
#include "ui/dialogs/check_findings_dialog.h"

#include <QLabel>
#include <QTableWidget>

namespace fb::test {
namespace {

class PruefungCommandTest : public MainFormTest {};

TEST_F(PruefungCommandTest, ListsTheFindingsAndADoubleClickShowsTheTripInTheMainList)
{
    addTrips({tripOn(2, "Köln", "Bonn", "30"), tripOn(3, "Bonn", "Köln", "30"),
              tripOn(4, "Köln", "Aachen", "900")});
    // Entered today, the November trips may count as entered late: judged without a log here.
    form->document().logbook().entryLog.clear();
    form->tripList().selectRow(0);
    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_TRUE(showActive(dialog));
        auto *list = control<QTableWidget>(dialog, "Findings");
        EXPECT_EQ(list->rowCount(), 1);
        EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("3"));
        EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("04.11.2026 08:00"));
        EXPECT_EQ(list->item(0, 2)->text(), QStringLiteral("Durchschnitt 600 km/h"));
        const QRect line = list->visualItemRect(list->item(0, 2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
        return dialog.result();
    });
    trigger("Fahrtenbuchprfen1");
    EXPECT_EQ(form->tripList().selectedRow(), 2);

    test::replaceSubItem(trips(), 2, 3, QStringLiteral("90"));
    prompts.answerDialog([](QDialog &dialog) {
        EXPECT_EQ(control<QLabel>(dialog, "Summary")->text(),
                  QStringLiteral("Keine Auffälligkeiten gefunden."));
        EXPECT_EQ(control<QTableWidget>(dialog, "Findings")->rowCount(), 0);
        return int(QDialog::Accepted);
    });
    trigger("Fahrtenbuchprfen1");
    EXPECT_EQ(form->tripList().selectedRow(), 2) << "closed without a choice, the selection stays";
}

} // namespace
} // namespace fb::test
