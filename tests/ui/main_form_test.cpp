#include "main_form_fixture.h"

#include "file_bytes.h"

#include "ui/dialogs/vorlage_neu_form.h"
#include "ui/dialogs/vorlagen_form.h"
#include "ui/fields/number_field.h"
#include "ui/list/row_list_view.h"
#include "ui/list/trip_list_view.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimeEdit>

namespace fb::test {
namespace {

const QString kUntitledCaption = QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu]");
const QString kNotSaved =
    QStringLiteral("Die Datei wurde noch nicht gespeichert. Wollen Sie jetzt speichern?");
const QString kNotSavedBeforeNew =
    QStringLiteral("Die Datei ist noch nicht gespeichert. Wollen Sie jetzt speichern?");

TEST_F(MainFormTest, WindowHasTheDesignedMenuButtonsAndList)
{
    EXPECT_EQ(caption(), kUntitledCaption);
    EXPECT_EQ(form->size(), QSize(780, 582));

    const QList<std::pair<const char *, QString>> enabledEntries = {
        {"Ne1", QStringLiteral("Neu")},
        {"ffnen1", QStringLiteral("Öffnen")},
        {"Speichern1", QStringLiteral("Speichern")},
        {"Speichernunter1", QStringLiteral("Speichern unter...")},
        {"Beenden1", QStringLiteral("Beenden")},
        {"Neu1", QStringLiteral("Neu")},
        {"ndern1", QStringLiteral("Ändern")},
        {"Lschen1", QStringLiteral("Löschen")},
        {"Kopieren1", QStringLiteral("Kopieren")},
        {"Exportieren1", QStringLiteral("Exportieren...")},
        {"Drucke1", QStringLiteral("Drucken...")},
        {"Druckvorschau1", QStringLiteral("Druckvorschau...")},
        {"Druckereinrichten1", QStringLiteral("Drucker einrichten...")},
        {"Verwalten1", QStringLiteral("Verwalten...")},
        {"ndern3", QStringLiteral("Ändern...")},
        {"Auswertunganzeigen1", QStringLiteral("Auswertung anzeigen...")},
        {"ber1", QStringLiteral("Über")},
    };
    for (const auto &[name, text] : enabledEntries) {
        const auto *action = form->findChild<QAction *>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text().remove(u'&'), text) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
    QStringList menus;
    for (const QAction *menu : form->menuBar()->actions())
        menus.append(menu->text().remove(u'&'));
    EXPECT_EQ(menus,
              (QStringList{"Datei", "Fahrt", "Vorlagen", "Stammdaten", "Auswertung", "Hilfe"}));

    const QList<std::tuple<const char *, QString, int, int>> buttons = {
        {"BitBtn1", QStringLiteral("Neue Fahrt..."), 8, 97},
        {"BitBtn2", QStringLiteral("Fahrt ändern..."), 112, 105},
        {"BitBtn3", QStringLiteral("Fahrt löschen..."), 224, 105},
        {"BitBtn4", QStringLiteral("Fahrt kopieren..."), 336, 121},
        {"QuitBtn", QStringLiteral("Beenden"), 480, 121},
    };
    for (const auto &[name, text, left, width] : buttons) {
        const auto *button = form->findChild<QPushButton *>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text().remove(u'&'), text);
        EXPECT_EQ(button->geometry(), QRect(left, 8, width, 25)) << name;
        EXPECT_EQ(button->parentWidget()->height(), 41);
    }

    TripListView &list = form->tripList();
    EXPECT_EQ(list.objectName(), QStringLiteral("ListView1"));
    EXPECT_EQ(list.model()->rowCount(), 0);
    const int widths[] = {140, 90, 140, 90, 70, 250, 80, 50, 75, 75, 110, 110};
    QStringList titles;
    for (int column = 0; column < list.model()->columnCount(); ++column) {
        titles.append(list.model()->headerData(column, Qt::Horizontal).toString());
        EXPECT_GE(list.columnWidth(column), widths[column]) << column;
    }
    EXPECT_EQ(titles, (QStringList{"Abfahrtszeit", "Abfahrtsort", "Ankunftszeit", "Ankunftsort",
                                   "Entfernung", "Fahrtzweck", "Typ", "Gelöscht", "KM Start",
                                   "KM Ende", "Erfasst am", "Gelöscht am"}));
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(form->statusBar()->height(), 19);
    EXPECT_TRUE(form->statusBar()->currentMessage().isEmpty());
}

TEST_F(MainFormTest, CaptionsTitlesAndFilledTextsShowWhole)
{
    const QString longPlace = QStringLiteral("Köln-Rodenkirchen, Hauptstraße 123, Hinterhof");
    TripInput trip = tripOn(2, longPlace, QStringLiteral("Bonn"), QStringLiteral("12"));
    addTrips({trip, tripOn(3, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("5"))});
    form->tripList().selectRow(1);
    trigger("Lschen1");
    Row entry{QStringLiteral("Kunde"),
              {longPlace, QStringLiteral("Bonn"), QStringLiteral("12"), QStringLiteral("Besuch"),
               QStringLiteral("Geschäftlich")}};
    form->document().apply(NewTemplate{entry});

    // Every column as wide as its title; the dates, numbers and kinds as their texts.
    const auto expectFits = [](const QTableView &list, std::initializer_list<int> shortValues) {
        for (int column = 0; column < list.model()->columnCount(); ++column)
            EXPECT_GE(list.columnWidth(column), list.horizontalHeader()->sectionSizeHint(column))
                << list.model()->headerData(column, Qt::Horizontal).toString().toStdString();
        for (const int column : shortValues) {
            for (int row = 0; row < list.model()->rowCount(); ++row)
                EXPECT_GE(list.columnWidth(column),
                          list.sizeHintForIndex(list.model()->index(row, column)).width())
                    << row << ", " << column;
        }
    };
    expectFits(form->tripList(), {0, 2, 4, 6, 7, 8, 9, 10, 11});
    prompts.answerDialog([&](QDialog &dialog) {
        auto &window = dynamic_cast<TVorlagenForm &>(dialog);
        expectFits(*window.ListView1, {3, 5});
        // The template editor's title bar has room for its caption beside the frame's buttons.
        prompts.answerDialog([](QDialog &editor) {
            QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
            titleFont.setBold(true);
            EXPECT_GE(editor.width(),
                      QFontMetrics(titleFont).horizontalAdvance(editor.windowTitle()) + 100);
            return int(QDialog::Rejected);
        });
        window.NewBtn->click();
        return int(QDialog::Rejected);
    });
    trigger("Verwalten1");

    // A place filled from the trip shows its beginning.
    form->tripList().selectRow(0);
    prompts.answerDialog([longPlace](QDialog &dialog) {
        const auto *place = control<QLineEdit>(dialog, "AbfahrtEd");
        EXPECT_EQ(place->text(), longPlace);
        EXPECT_EQ(place->cursorPosition(), 0);
        return int(QDialog::Rejected);
    });
    trigger("Kopieren1");
}

TEST_F(MainFormTest, OpenSaveAndQuitHaveTheStandardKeys)
{
    const auto shortcutOf = [this](const char *name) {
        return form->findChild<QAction *>(QLatin1String(name))->shortcut();
    };
    EXPECT_EQ(shortcutOf("ffnen1"), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(shortcutOf("Speichern1"), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(shortcutOf("Speichernunter1"), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    EXPECT_EQ(shortcutOf("Beenden1"), QKeySequence(QStringLiteral("Ctrl+Q")));
}

TEST_F(MainFormTest, FileOnTheCommandLineIsOpenedWhenTheWindowIsFirstShown)
{
    const QString path = pathOf(QStringLiteral("Golf.fbu"));
    writeLogbookFile(path,
                     {tripRow(QStringLiteral("02.11.2026 08:00:00"), QStringLiteral("A"),
                              QStringLiteral("B"), QStringLiteral("12,5"))},
                     1000);
    form->setStartFile(path);
    EXPECT_EQ(trips().count(), 0) << "nothing is read before the window is shown";
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_TRUE(showActive(*form));
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Golf.fbu]"));
    ASSERT_EQ(trips().count(), 1);
    EXPECT_EQ(trips().at(0).subItem(8), QStringLiteral("1012,5"));
    EXPECT_TRUE(prompts.asked().isEmpty());

    // The trip dialog's moments start at the first showing.
    prompts.answerDialog([before](QDialog &dialog) {
        const auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
        EXPECT_GE(fahrt.departure().toString(Qt::ISODate),
                  QDateTime(before.date(), before.time(), Qt::UTC).toString(Qt::ISODate));
        EXPECT_EQ(fahrt.departure(), fahrt.arrival());
        return int(QDialog::Rejected);
    });
    trigger("Neu1");
}

TEST_F(MainFormTest, MissingFileOnTheCommandLineStartsEmptyAndSaveWritesThere)
{
    const QString path = pathOf(QStringLiteral("Neu.fbu"));
    form->setStartFile(path);
    ASSERT_TRUE(showActive(*form));
    EXPECT_TRUE(prompts.asked().isEmpty()) << "no message";
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Neu.fbu]"));
    EXPECT_EQ(trips().count(), 0);

    trigger("Speichern1");
    EXPECT_TRUE(prompts.asked().isEmpty()) << "no save dialog";
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Neu.fbu]"));
}

TEST_F(MainFormTest, DamagedFileOnTheCommandLineIsReportedAndNeverOverwritten)
{
    const QString path = pathOf(QStringLiteral("Kaputt.fbu"));
    writeLogbookFile(path, {tripRow(QStringLiteral("02.11.2026 08:00:00"), QStringLiteral("A"),
                                    QStringLiteral("B"), QStringLiteral("1"))});
    QByteArray bytes = fileBytes(path);
    bytes.chop(bytes.size() / 2);
    ASSERT_TRUE(writeFileBytes(path, bytes));
    form->setStartFile(path);
    ASSERT_TRUE(showActive(*form));
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("stop")});
    EXPECT_EQ(prompts.asked().at(0).title, QStringLiteral("Fahrtenbuch"));
    EXPECT_TRUE(prompts.asked().at(0).text.endsWith(u'.'));
    EXPECT_EQ(caption(), kUntitledCaption);

    prompts.answerFile(QString());
    trigger("Speichern1");
    EXPECT_EQ(prompts.asked().last().kind, QStringLiteral("save")) << "Save asks for a name";
    EXPECT_EQ(fileBytes(path), bytes);
}

TEST_F(MainFormTest, QuitWithChangesAsksAndACancelledSaveDialogKeepsTheWindow)
{
    ASSERT_TRUE(showActive(*form));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu*]"));
    prompts.clearAsked();

    prompts.answerQuestion(QMessageBox::Yes);
    prompts.answerFile(QString());
    click("QuitBtn");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"question", "save"}));
    EXPECT_EQ(prompts.asked().at(0).title, QStringLiteral("Speichern"));
    EXPECT_EQ(prompts.asked().at(0).text, kNotSaved);
    EXPECT_TRUE(form->isVisible());

    prompts.answerQuestion(QMessageBox::Cancel);
    trigger("Beenden1");
    EXPECT_TRUE(form->isVisible());

    prompts.answerQuestion(QMessageBox::No);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, QuitAnsweredYesSavesAndCloses)
{
    ASSERT_TRUE(showActive(*form));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    const QString path = pathOf(QStringLiteral("Golf.fbu"));
    prompts.answerQuestion(QMessageBox::Yes);
    prompts.answerFile(path);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(prompts.lastFileKind().filter, QStringLiteral("Fahrtenbuch-Datei (*.fbu)"));
    EXPECT_EQ(prompts.lastFileKind().defaultSuffix, QStringLiteral("fbu"));
}

TEST_F(MainFormTest, NewAsksInAChangedDocumentAndCancelKeepsEverything)
{
    form->document().logbook().master.startKm = 500;
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    prompts.clearAsked();

    prompts.answerQuestion(QMessageBox::Cancel);
    trigger("Ne1");
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("question")});
    EXPECT_EQ(prompts.asked().at(0).text, kNotSavedBeforeNew);
    EXPECT_EQ(trips().count(), 1);
    EXPECT_TRUE(caption().endsWith(QStringLiteral("*]")));

    prompts.answerQuestion(QMessageBox::No);
    trigger("Ne1");
    EXPECT_EQ(trips().count(), 0);
    EXPECT_EQ(caption(), kUntitledCaption);
    EXPECT_EQ(form->document().logbook().master.startKm, 500) << "master data stays";

    prompts.clearAsked();
    trigger("Ne1");
    EXPECT_TRUE(prompts.asked().isEmpty()) << "no question without changes";
}

TEST_F(MainFormTest, OpenAnsweredNoThenCancelledKeepsTheDocumentAndItsMark)
{
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::No);
    prompts.answerFile(QString());
    trigger("ffnen1");
    EXPECT_EQ(prompts.askedKinds(), (QStringList{"question", "open"}));
    EXPECT_EQ(prompts.asked().at(0).text, kNotSaved);
    EXPECT_EQ(trips().count(), 1);
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu*]"));
}

TEST_F(MainFormTest, OpenReplacesTheDocumentAndShowsItsName)
{
    const QString path = pathOf(QStringLiteral("Passat.fbu"));
    writeLogbookFile(path, {tripRow(QStringLiteral("02.11.2026 08:00:00"), QStringLiteral("A"),
                                    QStringLiteral("B"), QStringLiteral("7")),
                            tripRow(QStringLiteral("03.11.2026 08:00:00"), QStringLiteral("B"),
                                    QStringLiteral("A"), QStringLiteral("7"))});
    prompts.answerFile(path);
    trigger("ffnen1");
    EXPECT_EQ(trips().count(), 2);
    EXPECT_EQ(form->tripList().model()->rowCount(), 2);
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Passat.fbu]"));
}

TEST_F(MainFormTest, SaveAsWritesUnderTheNewNameWithoutAQuestion)
{
    const QString first = pathOf(QStringLiteral("Erst.fbu"));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    prompts.answerFile(first);
    trigger("Speichern1");
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Erst.fbu]"));

    const QString second = pathOf(QStringLiteral("Zweit.fbu"));
    prompts.answerFile(second);
    trigger("Speichernunter1");
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Zweit.fbu]"));
    EXPECT_EQ(fileBytes(first), fileBytes(second));
    EXPECT_EQ(form->document().fileName(), second);

    prompts.answerFile(QString());
    trigger("Speichernunter1");
    EXPECT_EQ(form->document().fileName(), second) << "a cancelled dialog changes nothing";
}

TEST_F(MainFormTest, FailedSaveShowsWhyAndKeepsTheChangedMark)
{
    const QString path = pathOf(QStringLiteral("Golf.fbu"));
    writeLogbookFile(path, {});
    const QByteArray before = fileBytes(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(showActive(*form));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    prompts.clearAsked();

    prompts.answerFile(path);
    trigger("Speichernunter1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"save", "stop"}));
    const auto &message = prompts.asked().at(1);
    EXPECT_EQ(message.title, QStringLiteral("Fahrtenbuch"));
    EXPECT_EQ(message.text,
              QStringLiteral("Die Datei \"Golf.fbu\" kann nicht gespeichert werden: Zugriff "
                             "verweigert."));
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu*]"));
    EXPECT_TRUE(form->document().fileName().isEmpty())
        << "a file that was not written does not become the document's";
    EXPECT_EQ(fileBytes(path), before);

    // Quit: "Ja" saves, is asked for a name, fails again, and the window stays open.
    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::Yes);
    prompts.answerFile(path);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(prompts.askedKinds(), (QStringList{"question", "save", "stop"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(trips().count(), 1);
}

TEST_F(MainFormTest, EscapeDoesNothingInTheMainWindow)
{
    ASSERT_TRUE(showActive(*form));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    form->tripList().selectRow(0);
    form->tripList().setFocus();
    QTest::keyClick(&form->tripList(), Qt::Key_Escape);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(isDeleted(trips().at(0)));
    EXPECT_TRUE(form->isVisible());
}

} // namespace
} // namespace fb::test
