// The rules that keep a logbook from being lost, without a window: one writer per file under
// every name, a journal of every unsaved change that the next start offers, journals that
// cannot be applied set aside, and no saving over somebody else's version unasked.
#include "file_bytes.h"

#include "session/logbook_session.h"
#include "storage/logbook_document.h"
#include "storage/logbook_lock.h"
#include "storage/recovery_journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace fb::test {
namespace {

Row trip(int day, const QString &to, const QString &distance)
{
    const QString date = QStringLiteral("%1.11.2026 ").arg(day, 2, 10, QLatin1Char('0'));
    return Row{date + QStringLiteral("08:00:00"),
               {QStringLiteral("Köln"), date + QStringLiteral("09:00:00"), to, distance,
                QStringLiteral("Termin"), QStringLiteral("Geschäftlich")}};
}

class LogbookSessionTest : public ::testing::Test {
protected:
    LogbookSessionTest() { writeLogbook(logbook(), 1); }

    QString pathOf(const QString &name) const { return dir.filePath(name); }
    QString logbook() const { return pathOf(QStringLiteral("Golf.fbu")); }
    QString journals() const { return pathOf(QStringLiteral("journale")); }

    // The version another program writes: the given number of trips.
    static void writeLogbook(const QString &path, int trips)
    {
        LogbookDocument document;
        for (int day = 1; day <= trips; ++day)
            document.apply(NewTrip{trip(day, QStringLiteral("Bonn"), QStringLiteral("10"))});
        document.SaveTheFileAs(path);
    }
    static qsizetype tripsIn(const QString &path)
    {
        LogbookDocument document;
        document.OpenFileWithName(path);
        return document.logbook().trips.count();
    }
    std::unique_ptr<LogbookSession> newSession()
    {
        auto session = std::make_unique<LogbookSession>(96);
        session->setRecoveryFolder(journals());
        return session;
    }
    // A session on path that opened it as the only writer.
    std::unique_ptr<LogbookSession> openedSession(const QString &path)
    {
        auto session = newSession();
        EXPECT_EQ(session->questionBeforeOpening(path), QString());
        const OpenOutcome outcome = session->open(path);
        EXPECT_TRUE(outcome.opened && outcome.messages.isEmpty())
            << outcome.messages.join(u' ').toStdString();
        return session;
    }
    // The journal a session leaves when it ends without giving its document up, as a crash
    // ends it.
    QString leaveJournalWithOneTrip()
    {
        auto session = openedSession(logbook());
        session->document().apply(NewTrip{trip(3, QStringLiteral("Bonn"), QStringLiteral("5"))});
        const QString journal = session->journalPath();
        EXPECT_TRUE(session->journalWritten());
        return journal;
    }
    qsizetype journalsSetAside() const
    {
        return QDir(journals())
            .entryList({QStringLiteral("*.fbj.*-*")}, QDir::Files | QDir::System)
            .size();
    }

    QTemporaryDir dir;
};

TEST_F(LogbookSessionTest, ASecondSessionOnTheFileUnderAnyNameIsAskedOpensReadOnlyAndCannotSave)
{
    const auto writer = openedSession(logbook());
    const QByteArray before = fileBytes(logbook());
    const QString symbolic = pathOf(QStringLiteral("Verweis.fbu"));
    ASSERT_TRUE(QFile::link(logbook(), symbolic));
    const QString hard = pathOf(QStringLiteral("Zweitname.fbu"));
    ASSERT_EQ(::link(QFile::encodeName(logbook()).constData(), QFile::encodeName(hard).constData()),
              0);
    const QString thisProcess = QStringLiteral(" (Prozess %1 auf Rechner %2)")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(QSysInfo::machineHostName());
    for (const auto &[path, held] :
         {std::pair{logbook(), thisProcess}, std::pair{symbolic, thisProcess},
          std::pair{hard, QString()}}) {
        auto reader = newSession();
        const QString name = QFileInfo(path).fileName();
        EXPECT_EQ(reader->questionBeforeOpening(path),
                  QStringLiteral("Das Fahrtenbuch \"%1\" ist bereits geöffnet%2. "
                                 "Schreibgeschützt öffnen?")
                      .arg(name, held));
        ASSERT_TRUE(reader->open(path).opened);
        EXPECT_TRUE(reader->isReadOnly());
        EXPECT_TRUE(reader->accessNote().startsWith(
            QStringLiteral("Schreibgeschützt geöffnet: Das Fahrtenbuch \"%1\"").arg(name)));
        EXPECT_TRUE(reader->journalPath().isEmpty()) << "nothing to journal";
        EXPECT_TRUE(reader->saveTo(path).endsWith(
            QStringLiteral("ist bereits geöffnet%1. Es kann dort nicht gespeichert werden")
                .arg(held)));
    }
    EXPECT_EQ(fileBytes(logbook()), before);

    // A folder where the lock file belongs: read-only without a question, and it says why.
    const QString polo = pathOf(QStringLiteral("Polo.fbu"));
    writeLogbook(polo, 0);
    ASSERT_TRUE(QDir().mkdir(LogbookLock::lockPathFor(polo)));
    auto onPolo = newSession();
    EXPECT_EQ(onPolo->questionBeforeOpening(polo), QString());
    ASSERT_TRUE(onPolo->open(polo).opened);
    EXPECT_EQ(onPolo->accessNote(),
              QStringLiteral("Schreibgeschützt geöffnet: Neben \"Polo.fbu\" kann keine "
                             "Sperrdatei angelegt werden (Zugriff verweigert)."));

    // Saving puts a new file in place, and the lock goes with it; given up, the file is free.
    writer->document().apply(NewTrip{trip(3, QStringLiteral("Bonn"), QStringLiteral("5"))});
    ASSERT_EQ(writer->saveTo(logbook()), QString());
    EXPECT_FALSE(newSession()->questionBeforeOpening(logbook()).isEmpty());
    writer->release();
    EXPECT_EQ(newSession()->questionBeforeOpening(logbook()), QString());
}

TEST_F(LogbookSessionTest, ChangesOfASessionEndedUnsavedAreOfferedAndJournaledOnUntilSaved)
{
    const QString journal = leaveJournalWithOneTrip();
    auto session = openedSession(logbook());
    const RecoveryOffer offer = session->offerRecovery();
    EXPECT_EQ(offer.message, QString());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Ungespeicherte Änderungen vom "
                                                  "\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d "
                                                  "wiederherstellen\\?$"))
                    .match(offer.question)
                    .hasMatch())
        << offer.question.toStdString();
    EXPECT_EQ(session->recover(true), QString());
    EXPECT_EQ(session->document().logbook().trips.count(), 2);
    EXPECT_TRUE(session->document().isChanged());

    session->document().apply(NewTrip{trip(4, QStringLiteral("Bonn"), QStringLiteral("5"))});
    EXPECT_EQ(session->journalPath(), journal);
    EXPECT_EQ(readJournal(journal).operations.size(), 2);
    ASSERT_EQ(session->saveTo(logbook()), QString());
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(tripsIn(logbook()), 3);

    // An untitled logbook's changes are offered at the next start without a file.
    session->startUntitled();
    session->document().apply(NewTrip{trip(5, QStringLiteral("Bonn"), QStringLiteral("5"))});
    session.reset();
    session = newSession();
    EXPECT_FALSE(session->offerUntitledRecovery().question.isEmpty());
    EXPECT_EQ(session->recover(true), QString());
    EXPECT_EQ(session->document().logbook().trips.count(), 1);
}

TEST_F(LogbookSessionTest, JournalsThatCannotBeAppliedAreSetAsideAndNeverApplied)
{
    const auto offerOnOpening = [&] {
        auto session = openedSession(logbook());
        const RecoveryOffer offer = session->offerRecovery();
        EXPECT_EQ(session->document().logbook().trips.count(), tripsIn(logbook()));
        EXPECT_FALSE(session->document().isChanged());
        return offer;
    };
    const QString cannot = QStringLiteral("Die ungespeicherten Änderungen an \"Golf.fbu\" können "
                                          "nicht wiederhergestellt werden: ");

    QString journal = leaveJournalWithOneTrip();
    QByteArray bytes = fileBytes(journal);
    bytes[bytes.size() - 6] = char(bytes[bytes.size() - 6] ^ 1);
    ASSERT_TRUE(writeFileBytes(journal, bytes));
    EXPECT_TRUE(offerOnOpening().message.startsWith(
        cannot + QStringLiteral("Die Wiederherstellungsdatei ist beschädigt. Die "
                                "Wiederherstellungsdatei liegt jetzt unter")));
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(journalsSetAside(), 1);

    // The file was changed by another program after the journal began.
    leaveJournalWithOneTrip();
    writeLogbook(logbook(), 1);
    EXPECT_TRUE(offerOnOpening().message.startsWith(
        cannot + QStringLiteral("Die Datei wurde seitdem außerhalb des Programms geändert")));
    EXPECT_EQ(journalsSetAside(), 2);

    // Declined: set aside, and not offered again.
    leaveJournalWithOneTrip();
    {
        auto session = openedSession(logbook());
        EXPECT_FALSE(session->offerRecovery().question.isEmpty());
        EXPECT_EQ(session->recover(false), QString());
        EXPECT_EQ(session->document().logbook().trips.count(), 1);
    }
    EXPECT_EQ(journalsSetAside(), 3);
    EXPECT_TRUE(offerOnOpening().isEmpty());

    // A link to a device without end, which read would fill the memory: the link is moved.
    journal = journalPathFor(journals(), logbook());
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), journal));
    EXPECT_TRUE(offerOnOpening().message.startsWith(
        cannot + QStringLiteral("Die Wiederherstellungsdatei ist beschädigt.")));
    EXPECT_FALSE(QFileInfo(journal).isSymLink());
    EXPECT_EQ(journalsSetAside(), 4);
}

TEST_F(LogbookSessionTest, AFileChangedOutsideIsNotSavedOverUnasked)
{
    auto session = openedSession(logbook());
    session->document().apply(NewTrip{trip(3, QStringLiteral("Bonn"), QStringLiteral("5"))});
    EXPECT_EQ(session->questionBeforeSaving(logbook()), QString());
    writeLogbook(logbook(), 3);
    EXPECT_EQ(session->questionBeforeSaving(logbook()),
              QStringLiteral("Die Datei \"Golf.fbu\" wurde seit dem Öffnen außerhalb des "
                             "Programms geändert. Trotzdem speichern?"));
    EXPECT_EQ(session->questionBeforeSaving(pathOf(QStringLiteral("Kopie.fbu"))), QString());
    ASSERT_EQ(session->saveTo(logbook()), QString());
    EXPECT_EQ(tripsIn(logbook()), 2);
    // What the session wrote itself is no change from outside.
    session->document().apply(NewTrip{trip(4, QStringLiteral("Bonn"), QStringLiteral("5"))});
    EXPECT_EQ(session->questionBeforeSaving(logbook()), QString());
}

} // namespace
} // namespace fb::test
