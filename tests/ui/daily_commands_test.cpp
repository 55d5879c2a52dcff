#include "main_form_fixture.h"

#include "row_edit.h"
#include "storage/logbook_document.h"
#include "ui/list/trip_list_view.h"
#include "ui/window/user_settings.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>

namespace fb::test {
namespace {

class DailyCommandsTest : public MainFormTest {
protected:
    std::unique_ptr<UserSettings> settings() const
    {
        return std::make_unique<UserSettings>(
            std::make_unique<QSettings>(pathOf("settings.ini"), QSettings::IniFormat));
    }
    QString totals() const { return control<QLabel>(*form, "Totals")->text(); }
    QStringList recentEntries() const
    {
        QStringList entries;
        for (const QAction *entry : control<QMenu>(*form, "Zuletztgeffnet1")->actions())
            entries.append(entry->text() + QStringLiteral(" | ") + entry->toolTip());
        return entries;
    }
    void open(const QString &path)
    {
        prompts.answerFile(path);
        trigger("ffnen1");
    }
};

TEST_F(DailyCommandsTest, RecentLogbooksAreTheLastOpenedOrSavedAndAMissingOneIsDropped)
{
    form->setUserSettings(settings());
    writeLogbookFile(pathOf("2025.fbu"), {});
    writeLogbookFile(pathOf("2026.fbu"), {});
    open(pathOf("2025.fbu"));
    open(pathOf("2026.fbu"));
    prompts.answerFile(pathOf("kopie.fbu"));
    trigger("Speichernunter1");
    open(pathOf("2025.fbu"));
    const QString folder = QDir::toNativeSeparators(m_folder.path());
    EXPECT_EQ(recentEntries(), (QStringList{"&1 2025.fbu | " + folder, "&2 kopie.fbu | " + folder,
                                            "&3 2026.fbu | " + folder}));

    QFile::remove(pathOf("kopie.fbu"));
    control<QAction>(*form, "Zuletzt2")->trigger();
    ASSERT_EQ(prompts.askedKinds().last(), QStringLiteral("stop"));
    EXPECT_TRUE(prompts.asked().last().text.contains("kopie.fbu"));
    EXPECT_EQ(recentEntries().size(), 2);

    control<QAction>(*form, "Zuletzt2")->trigger();
    EXPECT_EQ(QFileInfo(form->document().fileName()).fileName(), QStringLiteral("2026.fbu"));
    EXPECT_EQ(settings()->recentFiles().size(), 2) << "kept for the next start";
}

TEST_F(DailyCommandsTest, TheWindowComesBackWhereItWasClosed)
{
    form->setUserSettings(settings());
    form->setGeometry(20, 30, 600, 400);
    form->tripList().setColumnWidth(2, 211);
    ASSERT_TRUE(form->close());

    TMainForm next(prompts, 96);
    next.setUserSettings(settings());
    EXPECT_EQ(next.geometry(), QRect(20, 30, 600, 400));
    EXPECT_EQ(next.tripList().columnWidth(2), 211);
}

TEST_F(DailyCommandsTest, TheStatusBarTotalsFollowEveryTripCommand)
{
    EXPECT_EQ(totals(), QStringLiteral("0 Fahrten · 0,0 km · 0,0 % geschäftlich"));
    TripInput privateTrip = tripOn(3, "Bonn", "Köln", "10");
    privateTrip.business = false;
    addTrips({tripOn(2, "Köln", "Bonn", "30,25"), privateTrip});
    EXPECT_EQ(totals(), QStringLiteral("2 Fahrten · 40,3 km · 75,2 % geschäftlich"));
    form->tripList().selectRow(1);
    prompts.answerDialog(confirmAsItStands());
    trigger("Kopieren1");
    EXPECT_EQ(totals(), QStringLiteral("3 Fahrten · 50,3 km · 60,2 % geschäftlich"));
    form->tripList().selectRow(0);
    trigger("Lschen1");
    EXPECT_EQ(totals(), QStringLiteral("2 Fahrten · 20,0 km · 0,0 % geschäftlich"));
}

TEST_F(DailyCommandsTest, SearchFindsTheNextTripBelowGoesRoundAndSaysWhenNothingIs)
{
    addTrips({tripOn(2, "Köln", "Bonn", "30"), tripOn(3, "Bonn", "Siegburg", "20"),
              tripOn(4, "Siegburg", "Köln", "32")});
    form->tripList().selectRow(0);
    prompts.answerText("KÖLN");
    trigger("Suchen1");
    EXPECT_EQ(form->tripList().selectedRow(), 2);
    trigger("Weitersuchen1");
    EXPECT_EQ(form->tripList().selectedRow(), 0) << "round to the top";
    EXPECT_EQ(control<QAction>(*form, "Suchen1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(control<QAction>(*form, "Weitersuchen1")->shortcut(), QKeySequence(Qt::Key_F3));

    prompts.answerText("Aachen");
    trigger("Suchen1");
    EXPECT_EQ(form->tripList().selectedRow(), 0);
    EXPECT_EQ(form->statusBar()->currentMessage(), QStringLiteral("\"Aachen\" nicht gefunden"));

    prompts.answerText(QString()); // cancelled
    trigger("Suchen1");
    EXPECT_EQ(form->tripList().selectedRow(), 0);
}

TEST_F(DailyCommandsTest, TheDeleteKeyAsksFirstAndNoKeepsTheTrip)
{
    addTrips({tripOn(2, "Köln", "Bonn", "30")});
    form->tripList().selectRow(0);
    prompts.answerQuestion(QMessageBox::No);
    QTest::keyClick(&form->tripList(), Qt::Key_Delete);
    EXPECT_FALSE(isDeleted(trips().at(0)));
    EXPECT_EQ(prompts.asked().last().text, QStringLiteral("Fahrt wirklich löschen?"));
    EXPECT_EQ(prompts.asked().last().defaultAnswer, QMessageBox::No);
    prompts.answerQuestion(QMessageBox::Yes);
    QTest::keyClick(&form->tripList(), Qt::Key_Delete);
    EXPECT_TRUE(isDeleted(trips().at(0)));
}

TEST_F(DailyCommandsTest, TheNewYearStartsFromTheFinalReadingWithEverythingButTheTrips)
{
    writeLogbookFile(pathOf("2026.fbu"),
                     {tripRow("02.11.2026 08:00:00", "A", "B", "10,5"),
                      tripRow("03.11.2026 08:00:00", "B", "C", "1000", "Privat")},
                     48000);
    open(pathOf("2026.fbu"));
    Logbook &logbook = form->document().logbook();
    logbook.templates.append(Row{"Büro", {"A", "B", "3", "Arbeit", "Geschäftlich"}});
    logbook.print.heading = QStringLiteral("Dienstwagen");
    logbook.master.registrationNumber = QStringLiteral("K-FB 1");
    logbook.headingFont.sizePoints = 17;
    test::replaceSubItem(trips(), 1, 6, QStringLiteral("Ja")); // deleted trips do not count
    form->document().SetUnChanged();

    trigger("NeuesJahr1");
    EXPECT_TRUE(trips().isEmpty());
    EXPECT_EQ(logbook.master.startKm, 48010) << "48010,5 rounds half to even";
    EXPECT_EQ(logbook.master.registrationNumber, QStringLiteral("K-FB 1"));
    ASSERT_EQ(logbook.templates.count(), 1);
    EXPECT_EQ(logbook.templates.at(0).caption, QStringLiteral("Büro"));
    EXPECT_EQ(logbook.print.heading, QStringLiteral("Dienstwagen"));
    EXPECT_EQ(logbook.headingFont.sizePoints, 17);
    EXPECT_TRUE(form->document().fileName().isEmpty());
    EXPECT_TRUE(caption().contains(QStringLiteral("[unbenannt.fbu*]")));
    EXPECT_EQ(totals(), QStringLiteral("0 Fahrten · 0,0 km · 0,0 % geschäftlich"));
}

} // namespace
} // namespace fb::test
