// The entry log: its events across saving and loading, the changes made outside the program
// that a load must find, and the files without a log that must stay as they were.
#include "test_support.h"

#include "checks/entry_log_report.h"
#include "model/odometer.h"
#include "model/trip_columns.h"
#include "storage/binary_stream.h"
#include "storage/logbook_document.h"
#include "storage/logbook_fields.h"
#include "storage/per_logbook_path.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace fb;
using namespace fb::test;

namespace {

QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2026, 11, day), QTime(hour, 0), Qt::UTC);
}

Row tripOn(int day, const QString &to, const QString &distance)
{
    const QString date = QStringLiteral("%1.11.2026").arg(day, 2, 10, QLatin1Char('0'));
    return Row{date + QStringLiteral(" 08:00:00"),
               {QStringLiteral("Köln"), date + QStringLiteral(" 09:00:00"), to, distance,
                QStringLiteral("Zweck ") + to, QStringLiteral("Geschäftlich")}};
}

QByteArray rowBytes(const Row &row)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    BinaryWriter out(buffer);
    writeRow(out, row);
    out.flush();
    return buffer.data();
}

// The file's bytes from the log's magic on.
qsizetype trailerStart(const QByteArray &file)
{
    return file.lastIndexOf("FBENTLOG");
}

QByteArray littleEndian32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The file as someone with its format at hand rewrites it: the trips in another order or fewer
// of them, each with its identity, the events and their chain kept, the seal made anew.
QByteArray rewrittenWithTrips(const QByteArray &file, const RowTable &trips,
                              const QList<qsizetype> &order)
{
    QList<QByteArray> rows;
    qsizetype end = 4;
    for (qsizetype i = 0; i < trips.count(); ++i) {
        rows.append(rowBytes(trips.at(i)));
        end += rows.last().size();
    }
    const qsizetype start = trailerStart(file);
    const qsizetype idsAt = start + 12;
    const qint32 logged = qFromLittleEndian<qint32>(file.constData() + idsAt);
    QByteArray out = littleEndian32(qint32(order.size()));
    QByteArray ids = littleEndian32(qint32(order.size()));
    for (const qsizetype i : order) {
        out += rows.at(i);
        ids += file.mid(idsAt + 4 + 4 * i, 4);
    }
    QByteArray trailer = file.mid(start);
    trailer.replace(12, 4 + 4 * logged, ids);
    const qint64 size = qFromLittleEndian<qint64>(trailer.constData() + trailer.size() - 40);
    qToLittleEndian(size - 4 * (logged - order.size()), trailer.data() + trailer.size() - 40);
    QByteArray rewritten = out + file.mid(end, start - end) + trailer;
    rewritten.chop(kLogDigestSize);
    return rewritten + QCryptographicHash::hash(rewritten, QCryptographicHash::Blake2b_256);
}

class EntryLogTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString memory() const { return path(QStringLiteral("protokollstand")); }

    // Entered on the 5th and 7th; the trip of the 3rd entered on the 20th (late, and above
    // both); the 5th's trip changed to the 6th, which still fits below it; the 7th's deleted;
    // the start reading changed.
    void enterSample(LogbookDocument &document)
    {
        document.logbook().master.startKm = 12000;
        document.apply(
            {NewTrip{tripOn(5, QStringLiteral("Bonn"), QStringLiteral("30"))}, at(5, 18)});
        document.apply(
            {NewTrip{tripOn(7, QStringLiteral("Aachen"), QStringLiteral("70"))}, at(7, 18)});
        EXPECT_EQ(
            document.apply(
                {NewTrip{tripOn(3, QStringLiteral("Siegburg"), QStringLiteral("25"))}, at(20, 10)}),
            0);
        EXPECT_EQ(
            document.apply({ChangeTrip{1, tripOn(6, QStringLiteral("Bonn"), QStringLiteral("31"))},
                            at(21, 9)}),
            2);
        document.apply({DeleteTrip{3}, at(22, 9)});
        MasterData master = document.logbook().master;
        master.startKm = 12500;
        document.apply({SetMasterData{master}, at(22, 10)});
    }

    // A saved logbook with the sample's log; its bytes.
    QByteArray savedSample(const QString &name = QStringLiteral("golf.fbu"))
    {
        LogbookDocument document;
        document.setEntryLogMemoryFolder(memory());
        enterSample(document);
        document.SaveTheFileAs(path(name));
        return fileBytes(path(name));
    }

    // Loads the bytes as the file golf.fbu; what the load found is in the document.
    void load(const QByteArray &bytes, LogbookDocument &document)
    {
        writeFileBytes(path(QStringLiteral("golf.fbu")), bytes);
        document.OpenFileWithName(path(QStringLiteral("golf.fbu")));
    }

    QTemporaryDir dir;
};

TEST_F(EntryLogTest, EventsAndRowIdentitiesSurviveSaveAndLoad)
{
    LogbookDocument written;
    enterSample(written);
    const EntryLog &log = written.logbook().entryLog;
    ASSERT_EQ(log.events().size(), 7u);
    EXPECT_EQ(written.logbook().trips.at(0).subItem(TripSubItem::ArrivalPlace),
              QStringLiteral("Siegburg"));
    EXPECT_EQ(written.logbook().trips.at(0).subItem(TripSubItem::KmEnd), QStringLiteral("12525"));
    EXPECT_EQ(log.enteredEvent(0)->when, toOleDate(at(20, 10)));
    EXPECT_EQ(log.deletedEvent(1)->when, toOleDate(at(21, 9)));
    EXPECT_EQ(log.enteredEvent(2)->replaces, log.idOf(1));
    EXPECT_EQ(log.deletedEvent(3)->when, toOleDate(at(22, 9)));
    EXPECT_EQ(log.events().back().texts,
              (QStringList{QStringLiteral("Kilometerstand Beginn"), QStringLiteral("12000"),
                           QStringLiteral("12500")}));
    EXPECT_EQ(daysEnteredLate(written.logbook(), 0), 17);
    EXPECT_EQ(daysEnteredLate(written.logbook(), 2), 15) << "the new version's own entry";
    EXPECT_EQ(daysEnteredLate(written.logbook(), 3), std::nullopt);

    written.SaveTheFileAs(path(QStringLiteral("golf.fbu")));
    const QByteArray bytes = fileBytes(path(QStringLiteral("golf.fbu")));
    // The log follows the logbook as it always was: older readers read it and stop there.
    Logbook withoutLog;
    readBytes(bytes, withoutLog);
    withoutLog.entryLog.clear();
    EXPECT_EQ(trailerStart(bytes), toBytes(withoutLog).size());

    LogbookDocument read;
    read.OpenFileWithName(path(QStringLiteral("golf.fbu")));
    EXPECT_TRUE(read.outsideChangeFound().isEmpty());
    EXPECT_EQ(read.logbook().entryLog, log);
    EXPECT_EQ(read.logbook().entryLog.state(), EntryLogState::Intact);
    EXPECT_EQ(read.logbook().entryLog.checkValue().size(), 16);
    read.SaveTheFileAs(path(QStringLiteral("wieder.fbu")));
    EXPECT_EQ(fileBytes(path(QStringLiteral("wieder.fbu"))), bytes);
}

TEST_F(EntryLogTest, ChangesOutsideTheProgramAreFoundNamedAndLoggedOnce)
{
    const QByteArray original = savedSample();
    LogbookDocument reference;
    reference.OpenFileWithName(path(QStringLiteral("golf.fbu")));
    const RowTable &trips = reference.logbook().trips;

    // One character of a logged trip's purpose.
    QByteArray changedByte = original;
    const QByteArray purpose = QByteArray("Z\0w\0e\0c\0k\0 \0A\0a\0c\0h\0e\0n\0", 24);
    ASSERT_EQ(changedByte.count(purpose), 1);
    changedByte[changedByte.indexOf(purpose) + 14] = 'e';

    // Two trips' rows swapped.
    QByteArray swapped = original;
    const QByteArray first = rowBytes(trips.at(0));
    const QByteArray second = rowBytes(trips.at(1));
    ASSERT_EQ(swapped.mid(4, first.size() + second.size()), first + second);
    swapped.replace(4, first.size() + second.size(), QByteArray(second + first));

    // The log cut short, and the log of another logbook behind this one's trips.
    const QByteArray cut = original.left(original.size() - 50);
    LogbookDocument other;
    other.apply({NewTrip{tripOn(9, QStringLiteral("Ulm"), QStringLiteral("400"))}, at(9, 20)});
    other.SaveTheFileAs(path(QStringLiteral("anderes.fbu")));
    const QByteArray otherFile = fileBytes(path(QStringLiteral("anderes.fbu")));
    const QByteArray foreignLog =
        original.left(trailerStart(original)) + otherFile.mid(trailerStart(otherFile));

    // Rewritten with the format at hand, the seal made anew: a live trip cut out with its
    // identity, two trips swapped with theirs, the start reading changed without an event.
    const QByteArray cutOut = rewrittenWithTrips(original, trips, {1, 2, 3});
    const QByteArray swappedWithIds = rewrittenWithTrips(original, trips, {2, 1, 0, 3});
    Logbook startReading;
    readBytes(original, startReading);
    startReading.master.startKm = 13000;
    Logbook noNumber;
    readBytes(original, noNumber);
    Row tampered = noNumber.trips.at(0);
    tampered.subItems[TripSubItem::Distance] = QStringLiteral("abc");
    noNumber.trips.replace(0, tampered);

    // A trip's bytes cut out of the middle and the count lowered, the log left as it was: the
    // trips below the cut still match their own entries.
    QByteArray cutInTheMiddle = original;
    const qsizetype thirdAt = 4 + rowBytes(trips.at(0)).size() + rowBytes(trips.at(1)).size();
    ASSERT_EQ(cutInTheMiddle.mid(thirdAt, rowBytes(trips.at(2)).size()), rowBytes(trips.at(2)));
    cutInTheMiddle.remove(thirdAt, rowBytes(trips.at(2)).size());
    qToLittleEndian(qint32(trips.count() - 1), cutInTheMiddle.data());

    // The same with the old version made a copy of the new one and the last trip cut: the copy
    // is the changed trip, not a sign that the old version was cut out.
    QByteArray copiedAndCut = original;
    const qsizetype secondAt = 4 + rowBytes(trips.at(0)).size();
    copiedAndCut.remove(thirdAt + rowBytes(trips.at(2)).size(), rowBytes(trips.at(3)).size());
    copiedAndCut.replace(secondAt, rowBytes(trips.at(1)).size(), rowBytes(trips.at(2)));
    qToLittleEndian(qint32(trips.count() - 1), copiedAndCut.data());

    // One trip cut out and another put in at the end: the count is as logged, and only the cut
    // one is in question, not every row between.
    QByteArray cutAndPutIn = original;
    cutAndPutIn.remove(thirdAt, rowBytes(trips.at(2)).size());
    Row putIn = trips.at(0);
    putIn.subItems[TripSubItem::Purpose] = QStringLiteral("Nachgetragen");
    cutAndPutIn.insert(thirdAt + rowBytes(trips.at(3)).size(), rowBytes(putIn));

    // A byte put in before the log, and the log's first byte cut.
    QByteArray inserted = original;
    inserted.insert(trailerStart(original), 'x');
    QByteArray firstByteCut = original;
    firstByteCut.remove(trailerStart(original), 1);

    const struct {
        const char *what;
        QByteArray bytes;
        QString found;
    } cases[] = {
        {"a changed byte", changedByte,
         QStringLiteral("Fahrt 4 stimmt nicht mehr mit dem Protokoll überein; das Siegel passt "
                        "nicht zum Inhalt der Datei")},
        {"two rows swapped", swapped,
         QStringLiteral("Fahrt 1 und 2 stimmen nicht mehr mit dem Protokoll überein; das Siegel "
                        "passt nicht zum Inhalt der Datei")},
        {"a cut log", cut, QStringLiteral("das Änderungsprotokoll ist gekürzt oder beschädigt")},
        {"another file's log", foreignLog, QString()},
        {"a live trip cut out", cutOut,
         QStringLiteral("eine protokollierte Fahrt fehlt in der Datei (erfasst am %1)")
             .arg(localMomentText(toOleDate(at(20, 10))))},
        {"a trip cut out of the middle, the log as it was", cutInTheMiddle,
         QStringLiteral("eine protokollierte Fahrt fehlt in der Datei (erfasst am %1); die Datei "
                        "enthält 3 Fahrten, das Protokoll kennt 4; das Siegel passt nicht zum "
                        "Inhalt der Datei")
             .arg(localMomentText(toOleDate(at(21, 9))))},
        {"a trip made a copy of the next, the last cut", copiedAndCut,
         QStringLiteral("Fahrt 2 stimmt nicht mehr mit dem Protokoll überein; eine "
                        "protokollierte Fahrt fehlt in der Datei (erfasst am %1); die Datei "
                        "enthält 3 Fahrten, das Protokoll kennt 4; das Siegel passt nicht zum "
                        "Inhalt der Datei")
             .arg(localMomentText(toOleDate(at(7, 18))))},
        {"a trip cut out and another put in", cutAndPutIn,
         QStringLiteral("eine protokollierte Fahrt fehlt in der Datei (erfasst am %1); das Siegel "
                        "passt nicht zum Inhalt der Datei")
             .arg(localMomentText(toOleDate(at(21, 9))))},
        {"two trips swapped with their identities", swappedWithIds,
         QStringLiteral("Fahrt 3 steht nicht mehr an ihrem Platz in der Liste")},
        {"the start reading changed", toBytes(startReading),
         QStringLiteral("Stammdaten: Kilometerstand Beginn ist „13000“, protokolliert war "
                        "„12500“")},
        {"a distance that is no number", toBytes(noNumber),
         QStringLiteral("Fahrt 1 stimmt nicht mehr mit dem Protokoll überein")},
        {"a byte before the log", inserted,
         QStringLiteral("das Änderungsprotokoll ist gekürzt oder beschädigt")},
        {"the log's first byte cut", firstByteCut,
         QStringLiteral("das Änderungsprotokoll ist gekürzt oder beschädigt")},
    };
    for (const auto &[what, bytes, found] : cases) {
        LogbookDocument document;
        load(bytes, document);
        if (found.isEmpty())
            EXPECT_TRUE(document.outsideChangeFound().contains(QStringLiteral("Siegel"))) << what;
        else
            EXPECT_EQ(document.outsideChangeFound(), found) << what;
        EXPECT_EQ(document.logbook().entryLog.state(), EntryLogState::ChangedOutside) << what;
        // The finding, and after it the master data as found.
        const auto &logged = document.logbook().entryLog.events();
        const EntryEvent &finding =
            *std::find_if(logged.rbegin(), logged.rend(), [](const EntryEvent &event) {
                return event.kind == EntryEventKind::OutsideChange;
            });
        EXPECT_EQ(finding.texts.value(0), document.outsideChangeFound()) << what;

        // Saved again, the finding stays in the log and is not found anew.
        const std::size_t events = document.logbook().entryLog.events().size();
        document.SaveTheFile();
        LogbookDocument again;
        again.OpenFileWithName(document.fileName(), UnreadableDistance::Keep);
        EXPECT_TRUE(again.outsideChangeFound().isEmpty()) << what;
        EXPECT_EQ(again.logbook().entryLog.events().size(), events) << what;
        EXPECT_EQ(again.logbook().entryLog.state(), EntryLogState::ChangedOutside) << what;
    }
}

TEST_F(EntryLogTest, RememberedChainFindsALogThatVanishedOrWasReplaced)
{
    const QByteArray original = savedSample();
    const QByteArray withoutLog = original.left(trailerStart(original));

    LogbookDocument unremembered;
    load(withoutLog, unremembered);
    EXPECT_TRUE(unremembered.outsideChangeFound().isEmpty()) << "the file alone says nothing";
    EXPECT_EQ(unremembered.logbook().entryLog.state(), EntryLogState::None);

    LogbookDocument vanished;
    vanished.setEntryLogMemoryFolder(memory());
    load(withoutLog, vanished);
    EXPECT_EQ(vanished.outsideChangeFound(),
              QStringLiteral("das Änderungsprotokoll fehlt, obwohl dieses Programm die Datei mit "
                             "Protokoll gespeichert hat"));

    // A log of its own, whole and sealed, but not the one written here last.
    savedSample(QStringLiteral("kopie.fbu"));
    LogbookDocument rewritten;
    rewritten.OpenFileWithName(path(QStringLiteral("kopie.fbu")));
    rewritten.apply({NewTrip{tripOn(9, QStringLiteral("Ulm"), QStringLiteral("400"))}, at(9, 20)});
    rewritten.SaveTheFile();
    LogbookDocument replaced;
    replaced.setEntryLogMemoryFolder(memory());
    load(fileBytes(path(QStringLiteral("kopie.fbu"))), replaced);
    EXPECT_TRUE(replaced.outsideChangeFound().isEmpty()) << "it goes on from what was written";
    load(original, replaced);
    replaced.apply({DeleteTrip{0}, at(23, 8)});
    const QByteArray later = [&] {
        replaced.SaveTheFile();
        return fileBytes(replaced.fileName());
    }();
    load(original, replaced);
    EXPECT_EQ(replaced.outsideChangeFound(),
              QStringLiteral("die Datei ist nicht die Fassung, die dieses Programm zuletzt "
                             "gespeichert hat"))
        << "an older copy put back";
    load(later, replaced);
    EXPECT_TRUE(replaced.outsideChangeFound().isEmpty());

    // A pipe in the memory's place is passed over, not waited on.
    const QString remembered =
        perLogbookPath(memory(), path(QStringLiteral("golf.fbu")), QStringLiteral(".protokoll"));
    QFile::remove(remembered);
    ASSERT_EQ(::mkfifo(QFile::encodeName(remembered).constData(), 0600), 0);
    load(later, replaced);
    EXPECT_TRUE(replaced.outsideChangeFound().isEmpty());
}

TEST_F(EntryLogTest, MasterDataDatesShowWithoutTimeAndARunOfChangesIsOneLine)
{
    LogbookDocument document;
    MasterData master = document.logbook().master;
    master.firstRegistration = toOleDate(QDate(2021, 3, 15), QTime(18, 10));
    document.apply({SetMasterData{master}, at(2, 9)});
    for (const QString &town : {QStringLiteral("Bonn"), QStringLiteral("Köln")}) {
        master.town = town;
        document.apply({SetMasterData{master}, at(2, 10)});
    }

    const QList<ProtocolLine> lines = protocolLines(document.logbook());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0).oldValue, QStringLiteral("03.04.2008"));
    EXPECT_EQ(lines.at(0).newValue, QStringLiteral("15.03.2021"));
    const QStringList printed =
        protocolAppendix(document.logbook(), [](qsizetype) { return true; }).at(0).lines;
    EXPECT_EQ(printed,
              (QStringList{QStringLiteral("am %1: Datum der Erstzulassung von „03.04.2008“ auf "
                                          "„15.03.2021“")
                               .arg(localMomentText(toOleDate(at(2, 9)))),
                           QStringLiteral("am %1: Ort von „“ auf „Köln“ (2 Änderungen)")
                               .arg(localMomentText(toOleDate(at(2, 10))))}));
}

TEST_F(EntryLogTest, LogbooksWithoutEventsAreWrittenAsBefore)
{
    Logbook sample;
    fillSample(sample);
    UpdateKMSTands(sample); // as the program writes it
    const QByteArray bytes = toBytes(sample);
    writeFileBytes(path(QStringLiteral("alt.fbu")), bytes);

    LogbookDocument document;
    document.setEntryLogMemoryFolder(memory());
    document.OpenFileWithName(path(QStringLiteral("alt.fbu")));
    EXPECT_EQ(document.logbook().entryLog.state(), EntryLogState::None);
    // Templates and print options are not logged.
    document.apply(NewTemplate{Row{QStringLiteral("Oma"), {QStringLiteral("Köln")}}});
    document.apply(DeleteTemplate{1});
    document.apply(SetMasterData{document.logbook().master});
    document.SaveTheFile();
    EXPECT_EQ(fileBytes(path(QStringLiteral("alt.fbu"))), bytes);
    EXPECT_EQ(trailerStart(bytes), -1);
}

TEST_F(EntryLogTest, ReadingTakesTheLaterTrailerVersionAndAnEarlierOneWithItIsDamage)
{
    LogbookDocument document;
    enterSample(document);
    document.SaveTheFileAs(path(QStringLiteral("golf.fbu")));
    const auto versionOf = [](const QByteArray &file) {
        return qFromLittleEndian<qint32>(file.constData() + trailerStart(file) + 8);
    };
    EXPECT_EQ(versionOf(fileBytes(path(QStringLiteral("golf.fbu")))), 1);

    const double readAt = toOleDate(QDate(2026, 11, 25), QTime(12, 0));
    document.apply({RecordOdometerReading{readAt, 48950.5, QStringLiteral("Tanken")}, at(25, 13)});
    document.SaveTheFile();
    const QByteArray bytes = fileBytes(path(QStringLiteral("golf.fbu")));
    EXPECT_EQ(versionOf(bytes), 2);
    // Kind 5, the entry moment, row 0, the moment read, the reading, the note.
    QByteArray record;
    QBuffer buffer(&record);
    buffer.open(QIODevice::WriteOnly);
    BinaryWriter out(buffer);
    out.writeInt32(1 + 8 + 4 + 8 + 8 + 4 + 2 * 6);
    out.writeByte(5);
    out.writeFloat64(toOleDate(at(25, 13)));
    out.writeInt32(0);
    out.writeFloat64(readAt);
    out.writeFloat64(48950.5);
    out.writeText(QStringLiteral("Tanken"));
    out.flush();
    EXPECT_TRUE(bytes.contains(record));

    LogbookDocument read;
    read.OpenFileWithName(path(QStringLiteral("golf.fbu")));
    EXPECT_TRUE(read.outsideChangeFound().isEmpty());
    EXPECT_EQ(read.logbook().entryLog, document.logbook().entryLog);
    read.SaveTheFileAs(path(QStringLiteral("wieder.fbu")));
    EXPECT_EQ(fileBytes(path(QStringLiteral("wieder.fbu"))), bytes);

    // The same file claiming the earlier version, sealed anew.
    QByteArray earlier = bytes;
    qToLittleEndian(qint32(1), earlier.data() + trailerStart(earlier) + 8);
    earlier.chop(kLogDigestSize);
    earlier += QCryptographicHash::hash(earlier, QCryptographicHash::Blake2b_256);
    LogbookDocument forged;
    load(earlier, forged);
    EXPECT_FALSE(forged.outsideChangeFound().isEmpty());
    EXPECT_EQ(forged.logbook().entryLog.state(), EntryLogState::ChangedOutside);
}

} // namespace
