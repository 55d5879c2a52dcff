#include "test_support.h"

#include "file_size_limit.h"

#include "core/file_error.h"
#include "model/trip_columns.h"
#include "storage/logbook_document.h"
#include "storage/recovery_journal.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb;
using namespace fb::test;

namespace {

Row newTrip(const QString &to, const QString &distance)
{
    return Row{QStringLiteral("09.12.2026 08:00:00"),
               {QStringLiteral("Köln"), QStringLiteral("09.12.2026 09:00:00"), to, distance,
                QStringLiteral("Termin"), QStringLiteral("Geschäftlich")}};
}

// Every kind of operation once, on the sample logbook's rows.
QList<LogbookOperation> everyKindOfOperation()
{
    MasterData master;
    master.company = QStringLiteral("Neue Firma");
    master.startKm = 500;
    SetPrintOptions print;
    print.print.heading = QStringLiteral("Dienstwagen");
    print.print.printDateRange = true;
    print.print.printTimes = false;
    print.headingFont = PrintFont::defaultHeadingFont(120);
    print.headingFont.face = QStringLiteral("Liberation Serif");
    print.textFont = PrintFont::defaultTextFont(96);
    return {NewTrip{newTrip(QStringLiteral("Aachen"), QStringLiteral("70"))},
            CopyTrip{1, newTrip(QStringLiteral("Bonn"), QStringLiteral("31"))},
            ChangeTrip{0, newTrip(QStringLiteral("Siegburg"), QStringLiteral("25,5"))},
            DeleteTrip{3},
            SetMasterData{master},
            NewTemplate{Row{QStringLiteral("Oma"), {QStringLiteral("Köln")}}},
            ChangeTemplate{0, Row{QStringLiteral("Büro neu"), {QStringLiteral("Bonn")}}},
            DeleteTemplate{1},
            print,
            RecordOdometerReading{46351.5, 48950.4, QStringLiteral("Tanken")}};
}

// Everything of a logbook that a journal must bring back.
QByteArray stateOf(const Logbook &logbook)
{
    return toBytes(logbook) + QByteArray::number(logbook.print.printTimes) +
           QByteArray::number(logbook.headingFont.pixelsPerInch);
}

class RecoveryJournalTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString journals() const { return path(QStringLiteral("journale")); }

    // A saved sample logbook, open in document, with a journal hooked to it.
    void openWithJournal(LogbookDocument &document)
    {
        fillSample(document.logbook());
        document.SaveTheFileAs(path(QStringLiteral("golf.fbu")));
        journal = std::make_unique<RecoveryJournal>(
            journalPathFor(journals(), document.fileName()),
            JournalBase{document.fileName(), document.diskState(), QByteArray()});
        document.addOperationHook(journal.get());
    }

    QTemporaryDir dir;
    std::unique_ptr<RecoveryJournal> journal;
};

TEST_F(RecoveryJournalTest, EveryOperationIsReplayedOntoTheFileItStartedFrom)
{
    LogbookDocument document;
    openWithJournal(document);
    const QList<LogbookOperation> operations = everyKindOfOperation();
    for (const LogbookOperation &operation : operations)
        document.apply(operation);
    ASSERT_TRUE(journal->isWritten());
    journal.reset(); // as a program that ends without its question

    const JournalContents read = readJournal(journalPathFor(journals(), document.fileName()));
    ASSERT_EQ(read.operations.size(), operations.size());
    for (qsizetype i = 0; i < read.operations.size(); ++i)
        EXPECT_TRUE(read.operations.at(i).operation == operations.at(i)) << i;

    LogbookDocument reopened;
    reopened.OpenFileWithName(document.fileName());
    ASSERT_TRUE(journalStartsFrom(read.base, reopened));
    replayJournal(read, reopened);
    EXPECT_EQ(stateOf(reopened.logbook()), stateOf(document.logbook()));
    // The entry log's events come from the operations' moments, so the replay logs the same;
    // the reading among them.
    EXPECT_EQ(reopened.logbook().entryLog.events().size(), 9u);
    EXPECT_TRUE(reopened.logbook().entryLog.holdsReadings());
    EXPECT_EQ(reopened.logbook().entryLog, document.logbook().entryLog);
    EXPECT_TRUE(reopened.isChanged());

    // Once the file is saved again, the journal no longer starts from it.
    document.SaveTheFile();
    LogbookDocument later;
    later.OpenFileWithName(document.fileName());
    EXPECT_FALSE(journalStartsFrom(read.base, later));
}

TEST_F(RecoveryJournalTest, UntitledLogbookIsReplayedFromItsSnapshot)
{
    LogbookDocument document;
    document.logbook().master.company = QStringLiteral("Vom vorigen Fahrtenbuch");
    RecoveryJournal untitled(newUntitledJournalPath(journals()), JournalBase());
    document.addOperationHook(&untitled);
    document.apply(NewTrip{newTrip(QStringLiteral("Bonn"), QStringLiteral("30"))});
    ASSERT_EQ(untitledJournals(journals()), QStringList{untitled.path()});

    EXPECT_EQ(claimJournal(untitled.path()), nullptr) << "its writer still runs";
    const JournalContents read = readJournal(untitled.path());
    LogbookDocument fresh;
    ASSERT_TRUE(journalStartsFrom(read.base, fresh));
    replayJournal(read, fresh);
    EXPECT_EQ(stateOf(fresh.logbook()), stateOf(document.logbook()));

    untitled.discard();
    EXPECT_TRUE(untitledJournals(journals()).isEmpty());
}

TEST_F(RecoveryJournalTest, DamagedJournalIsRefusedWholeAndNothingOfItIsApplied)
{
    LogbookDocument document;
    openWithJournal(document);
    for (const LogbookOperation &operation : everyKindOfOperation())
        document.apply(operation);
    const QString journalPath = journal->path();
    journal.reset();
    const QByteArray whole = fileBytes(journalPath);

    QByteArray flipped = whole;
    flipped[whole.size() / 2] = char(flipped[whole.size() / 2] ^ 0x10);
    for (const QByteArray &damaged :
         {whole.left(whole.size() - 1), flipped, QByteArray(whole + QByteArray("\x05\0\0\0x", 5)),
          QByteArray()}) {
        writeFileBytes(journalPath, damaged);
        EXPECT_THROW(readJournal(journalPath), JournalDamaged) << damaged.size();
    }

    // Whole, but its changes do not fit the logbook it claims to start from.
    writeFileBytes(journalPath, whole);
    JournalContents read = readJournal(journalPath);
    read.operations.append({DeleteTrip{99}, QDateTime::currentDateTimeUtc()});
    LogbookDocument reopened;
    reopened.OpenFileWithName(document.fileName());
    const QByteArray before = stateOf(reopened.logbook());
    EXPECT_THROW(replayJournal(read, reopened), JournalDamaged);
    EXPECT_EQ(stateOf(reopened.logbook()), before);
    EXPECT_FALSE(reopened.isChanged());
}

TEST_F(RecoveryJournalTest, JournalThatCannotBeWrittenSaysSoOnceAndKeepsAWholeEarlierState)
{
    LogbookDocument document;
    openWithJournal(document);
    document.apply(NewTrip{newTrip(QStringLiteral("Bonn"), QStringLiteral("30"))});
    const qint64 written = fileBytes(journal->path()).size();
    Row large = newTrip(QStringLiteral("Bonn"), QStringLiteral("1"));
    large.subItems[TripSubItem::Purpose] = QString(20000, QLatin1Char('x'));
    {
        const FileSizeLimit full(rlim_t(written + 100));
        EXPECT_THROW(document.apply(NewTrip{large}), JournalWriteFailed);
        document.apply(NewTrip{newTrip(QStringLiteral("Ulm"), QStringLiteral("1"))});
    }
    EXPECT_EQ(document.logbook().trips.count(), 5) << "the changes themselves are made";
    EXPECT_EQ(fileBytes(journal->path()).size(), written);
    EXPECT_EQ(readJournal(journal->path()).operations.size(), 1);
}

} // namespace
