#include "main_form_fixture.h"

#include "ui/dialogs/auswertung_form.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

namespace fb::test {
namespace {

using AuswertungTest = MainFormTest;

// Closes the evaluation window with its OK button and keeps the lines it showed.
ScriptedPrompts::DialogScript readAndClose(QStringList &shown)
{
    return [&shown](QDialog &dialog) {
        auto &window = dynamic_cast<TAuswertungForm &>(dialog);
        shown = window.lines();
        window.BitBtn1->click();
        return window.result();
    };
}

TEST_F(AuswertungTest, WindowHasItsDesignedPanelMemoAndStatusBar)
{
    TAuswertungForm window(form.get());
    EXPECT_EQ(window.windowTitle(), "Auswertung anzeigen");
    EXPECT_EQ(window.size(), QSize(764, 544));
    window.show();
    EXPECT_EQ(window.Panel1->geometry(), QRect(0, 0, 764, 41));
    EXPECT_EQ(window.BitBtn1->geometry(), QRect(8, 8, 105, 25));
    EXPECT_EQ(window.BitBtn1->text(), "OK");
    EXPECT_EQ(window.Memo1->y(), 41);
    EXPECT_EQ(window.StatusBar1->geometry().bottom(), 543);
    EXPECT_EQ(window.Memo1->geometry().bottom() + 1, window.StatusBar1->y());
    EXPECT_FALSE(window.Memo1->isReadOnly());
    EXPECT_TRUE(window.StatusBar1->currentMessage().isEmpty());
    for (const char *name : {"Panel1", "BitBtn1", "Memo1", "StatusBar1"})
        EXPECT_NE(window.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    window.hide();
}

TEST_F(AuswertungTest, CountsLiveTripsByKindAndShowsSevenLinesEachRun)
{
    Row deleted = tripRow("01.11.2026 08:00:00", "A", "B", "500,00");
    deleted.padSubItems(TripSubItem::Count);
    deleted.subItems[TripSubItem::Deleted] = QStringLiteral("Ja");
    Row shortRow;
    shortRow.caption = QStringLiteral("02.11.2026 08:00:00");
    shortRow.subItems = {"A", "02.11.2026 09:00:00", "B", "0,50"};
    trips().append(tripRow("01.11.2026 08:00:00", "A", "B", "1000,25"));
    trips().append(deleted);
    trips().append(tripRow("03.11.2026 08:00:00", "A", "B", "200", "geschäftlich"));
    trips().append(tripRow("04.11.2026 08:00:00", "A", "B", "34,25", ""));
    trips().append(shortRow);

    const QStringList expected = {"Anzahl geschäftlicher Fahrten: 1",
                                  "Anzahl privater Fahrten: 3",
                                  "Anzahl Fahrten gesamt: 4",
                                  "",
                                  "Geschäftlich gefahrene Kilometer: 1000,25",
                                  "Privat gefahrene Kilometer: 234,75",
                                  "Gefahrene Kilometer gesamt: 1235,00"};
    for (int run = 0; run < 2; ++run) {
        QStringList shown;
        prompts.answerDialog(readAndClose(shown));
        trigger("Auswertunganzeigen1");
        EXPECT_EQ(shown, expected) << "run " << run;
    }
    EXPECT_FALSE(form->document().isChanged());
}

TEST_F(AuswertungTest, EmptyLogbookShowsZeroesWithTwoDecimals)
{
    QStringList shown;
    prompts.answerDialog(readAndClose(shown));
    trigger("Auswertunganzeigen1");
    EXPECT_EQ(shown.value(2), "Anzahl Fahrten gesamt: 0");
    EXPECT_EQ(shown.value(6), "Gefahrene Kilometer gesamt: 0,00");
}

TEST_F(AuswertungTest, DistanceThatDoesNotParseIsReportedBeforeTheWindowShows)
{
    trips().append(tripRow("01.11.2026 08:00:00", "A", "B", "1234,5"));
    QStringList shown;
    prompts.answerDialog(readAndClose(shown));
    trigger("Auswertunganzeigen1");
    ASSERT_EQ(shown.value(6), "Gefahrene Kilometer gesamt: 1234,50");

    trips().append(tripRow("02.11.2026 08:00:00", "A", "B", "zwölf"));
    prompts.clearAsked();
    trigger("Auswertunganzeigen1");
    ASSERT_EQ(prompts.askedKinds(), QStringList{"stop"});
    EXPECT_EQ(prompts.asked().constFirst().text, "'zwölf' is not a valid floating point value.");
}

} // namespace
} // namespace fb::test
