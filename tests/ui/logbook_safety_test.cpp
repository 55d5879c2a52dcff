// What keeps a logbook from being lost, as the window shows it: a file that cannot be read,
// two windows on one logbook, and a program that ends without saving. The rules themselves
// are the session's and tested there.
#include "main_form_fixture.h"

#include "file_bytes.h"

#include "session/logbook_session.h"
#include "storage/logbook_lock.h"
#include "storage/recovery_journal.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QSysInfo>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace fb::test {
namespace {

qsizetype tripsIn(const QString &path)
{
    LogbookDocument document;
    document.OpenFileWithName(path);
    return document.logbook().trips.count();
}

bool enabled(QWidget &window, const char *name)
{
    if (auto *action = window.findChild<QAction *>(QLatin1String(name)))
        return action->isEnabled();
    return window.findChild<QPushButton *>(QLatin1String(name))->isEnabled();
}

class LogbookSafetyTest : public MainFormTest {
protected:
    LogbookSafetyTest()
    {
        form->setRecoveryFolder(journals());
        writeLogbookFile(logbook(),
                         {tripRow(QStringLiteral("02.11.2026 08:00:00"), QStringLiteral("A"),
                                  QStringLiteral("B"), QStringLiteral("10"))});
    }
    QString journals() const { return pathOf(QStringLiteral("journale")); }
    QString logbook() const { return pathOf(QStringLiteral("Golf.fbu")); }
    // Another window of the same kind, answering the same prompts.
    std::unique_ptr<TMainForm> newWindow(const QString &startFile = QString())
    {
        auto window = std::make_unique<TMainForm>(prompts, 96);
        window->setRecoveryFolder(journals());
        window->setStartFile(startFile);
        return window;
    }
};

TEST_F(LogbookSafetyTest, UnreadableFileSaysWhyKeepsThePreviousDocumentAndIsNeverWritten)
{
    ASSERT_TRUE(QFile::setPermissions(logbook(), QFile::WriteOwner));
    const QString folder = pathOf(QStringLiteral("nur-lesen"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString inReadOnlyFolder = QDir(folder).filePath(QStringLiteral("Polo.fbu"));
    writeLogbookFile(inReadOnlyFolder, {});
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    if (QFile probe(logbook()); probe.open(QIODevice::ReadOnly)) {
        // This process may read every file: run the test again as a user who may not.
        const QString self = QCoreApplication::applicationFilePath();
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString filter =
            QStringLiteral("--gtest_filter=%1.%2")
                .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QStringLiteral("setpriv"), {QStringLiteral("--bounding-set"),
                                                QStringLiteral("-dac_override,-dac_read_search"),
                                                QStringLiteral("--"), self, filter});
        ASSERT_TRUE(child.waitForFinished(120000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        return;
    }
    const QByteArray before = [&] {
        QFile::setPermissions(logbook(), QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray bytes = fileBytes(logbook());
        QFile::setPermissions(logbook(), QFile::WriteOwner);
        return bytes;
    }();
    const QString cannotOpen =
        QStringLiteral("Die Datei \"Golf.fbu\" kann nicht geöffnet werden: Zugriff verweigert.");

    // Named on the command line: the window starts untitled, and Ctrl+S asks for a name.
    form->setStartFile(logbook());
    ASSERT_TRUE(showActive(*form));
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("stop")});
    EXPECT_EQ(prompts.asked().at(0).text, cannotOpen);
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu]"));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    prompts.clearAsked();
    prompts.answerFile(QString());
    trigger("Speichern1");
    EXPECT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("save")});

    // Chosen in "Öffnen": the trips entered stay, unsaved, as they were.
    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::No);
    prompts.answerFile(logbook());
    trigger("ffnen1");
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"question", "open", "stop"}));
    EXPECT_EQ(prompts.asked().at(2).text, cannotOpen);
    EXPECT_EQ(trips().count(), 1);
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu*]"));
    EXPECT_TRUE(form->session().journalWritten()) << "the trip is still journaled";

    // A logbook in a folder where no lock can be made opens read-only and says so.
    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::No);
    prompts.answerFile(inReadOnlyFolder);
    trigger("ffnen1");
    EXPECT_EQ(prompts.askedKinds(), (QStringList{"question", "open"}));
    EXPECT_TRUE(form->isReadOnly());
    EXPECT_TRUE(form->statusBar()->currentMessage().startsWith(
        QStringLiteral("Schreibgeschützt geöffnet: Neben \"Polo.fbu\" kann keine Sperrdatei")));
    EXPECT_FALSE(enabled(*form, "BitBtn1"));
    EXPECT_TRUE(enabled(*form, "Speichernunter1"));

    QFile::setPermissions(logbook(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(fileBytes(logbook()), before);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(LogbookSafetyTest, SecondWindowOnAnOpenLogbookOpensItReadOnlyHoweverOldTheLockIs)
{
    // A window on another computer opened a logbook in a shared folder hours ago: its lock
    // is no less valid for its age.
    const QString shared = pathOf(QStringLiteral("Passat.fbu"));
    writeLogbookFile(shared, {});
    const QString sharedLock = LogbookLock::lockPathFor(shared);
    ASSERT_TRUE(writeFileBytes(sharedLock, "4711\nfahrtenbuch\nlaptop-im-buero\n"));
    const timeval hoursAgo[2] = {{time(nullptr) - 5 * 3600, 0}, {time(nullptr) - 5 * 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(sharedLock).constData(), hoursAgo), 0);
    prompts.answerQuestion(QMessageBox::No);
    auto onShared = newWindow(shared);
    ASSERT_TRUE(showActive(*onShared));
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("yesNo")});
    EXPECT_EQ(prompts.asked().at(0).text,
              QStringLiteral("Das Fahrtenbuch \"Passat.fbu\" ist bereits geöffnet (Prozess 4711 "
                             "auf Rechner laptop-im-buero). Schreibgeschützt öffnen?"));
    EXPECT_EQ(prompts.asked().at(0).defaultAnswer, QMessageBox::Yes);
    EXPECT_TRUE(QFile::exists(sharedLock));

    // Two windows of this computer.
    form->setStartFile(logbook());
    ASSERT_TRUE(showActive(*form));
    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::Yes);
    auto second = newWindow(logbook());
    ASSERT_TRUE(showActive(*second));
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("yesNo")});
    EXPECT_EQ(prompts.asked().at(0).text,
              QStringLiteral("Das Fahrtenbuch \"Golf.fbu\" ist bereits geöffnet (Prozess %1 auf "
                             "Rechner %2). Schreibgeschützt öffnen?")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QSysInfo::machineHostName()));
    EXPECT_TRUE(second->isReadOnly());
    EXPECT_EQ(second->document().logbook().trips.count(), 1);
    for (const char *changing :
         {"Speichern1", "Neu1", "ndern1", "Lschen1", "Kopieren1", "Verwalten1", "ndern3", "BitBtn1",
          "BitBtn2", "BitBtn3", "BitBtn4"})
        EXPECT_FALSE(enabled(*second, changing)) << changing;
    for (const char *reading : {"Speichernunter1", "ffnen1", "Drucke1", "Exportieren1"})
        EXPECT_TRUE(enabled(*second, reading)) << reading;
    EXPECT_TRUE(second->statusBar()->currentMessage().startsWith(
        QStringLiteral("Schreibgeschützt geöffnet: Das Fahrtenbuch \"Golf.fbu\"")));

    // The first window's trips reach the file; the second cannot write over them.
    addTrips({tripOn(3, QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("5"))});
    trigger("Speichern1");
    EXPECT_EQ(tripsIn(logbook()), 2);
    prompts.clearAsked();
    prompts.answerFile(logbook());
    second->findChild<QAction *>(QStringLiteral("Speichernunter1"))->trigger();
    ASSERT_EQ(prompts.askedKinds(), (QStringList{"save", "stop"}));
    EXPECT_TRUE(prompts.asked().at(1).text.contains(QStringLiteral("ist bereits geöffnet")));
    EXPECT_EQ(tripsIn(logbook()), 2);

    // "Nein" opens nothing.
    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::No);
    auto third = newWindow(logbook());
    ASSERT_TRUE(showActive(*third));
    EXPECT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("yesNo")});
    EXPECT_TRUE(third->document().fileName().isEmpty());
    EXPECT_EQ(third->document().logbook().trips.count(), 0);
}

TEST_F(LogbookSafetyTest, ChangesOfAWindowKilledWithSigkillAreRestoredAtTheNextStart)
{
    QProcess killed;
    killed.start(QStringLiteral(JOURNALING_WINDOW), {journals(), logbook()});
    ASSERT_TRUE(killed.waitForStarted());
    ASSERT_TRUE(killed.waitForReadyRead(60000));
    ASSERT_EQ(killed.readAllStandardOutput().trimmed(), QByteArray("ready"));
    killed.kill(); // SIGKILL
    ASSERT_TRUE(killed.waitForFinished());
    ASSERT_EQ(killed.exitStatus(), QProcess::CrashExit);

    // Its lock is taken over without a question; its journal is offered.
    prompts.answerQuestion(QMessageBox::Yes);
    form->setStartFile(logbook());
    ASSERT_TRUE(showActive(*form));
    ASSERT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("yesNo")});
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Ungespeicherte Änderungen vom \\d\\d\\.\\d\\d\\.\\d{4} "
                                          "\\d\\d:\\d\\d wiederherstellen\\?$"))
            .match(prompts.asked().at(0).text)
            .hasMatch())
        << prompts.asked().at(0).text.toStdString();
    ASSERT_EQ(trips().count(), 3);
    EXPECT_EQ(trips().at(2).subItem(TripSubItem::ArrivalPlace), QStringLiteral("Ziel 2"));
    EXPECT_EQ(trips().at(2).subItem(TripSubItem::KmEnd), QStringLiteral("1035"));
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [Golf.fbu*]"));
    EXPECT_FALSE(form->isReadOnly());

    // Later changes join the same journal; saving removes it.
    addTrips({tripOn(9, QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("5"))});
    const QString journal = form->session().journalPath();
    EXPECT_EQ(readJournal(journal).operations.size(), 4);
    trigger("Speichern1");
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(tripsIn(logbook()), 4);
}

TEST_F(LogbookSafetyTest, UntitledChangesAreOfferedAtTheNextStartWithoutAFile)
{
    ASSERT_TRUE(showActive(*form));
    addTrips({tripOn(2, QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("30"))});
    form.reset(); // ended without its question

    prompts.clearAsked();
    prompts.answerQuestion(QMessageBox::Yes);
    form = newWindow();
    ASSERT_TRUE(showActive(*form));
    EXPECT_EQ(prompts.askedKinds(), QStringList{QStringLiteral("yesNo")});
    ASSERT_EQ(trips().count(), 1);
    EXPECT_EQ(caption(), QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu*]"));

    // "Nein" at the question before closing drops the journal.
    prompts.answerQuestion(QMessageBox::No);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(untitledJournals(journals()).isEmpty());
}

} // namespace
} // namespace fb::test
