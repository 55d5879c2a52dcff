#include "export/trip_export.h"

#include "core/error.h"
#include "model/trip_columns.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "file_size_limit.h"
#include "xlrd_sheet.h"

#include <sys/stat.h>

using namespace fb;

namespace {

using fb::test::fileBytes;
using fb::test::readSheetWithXlrd;
using fb::test::Sheet;
using fb::test::writeFileBytes;

Row trip(const QString &from, const QString &deleted = {})
{
    return Row{QStringLiteral("07.12.2026 08:00:00"),
               {from, QStringLiteral("07.12.2026 09:00:00"), QStringLiteral("Bonn"),
                QStringLiteral("30,5"), QStringLiteral("Kunde"), QStringLiteral("Geschäftlich"),
                deleted, QStringLiteral("1000"), QStringLiteral("1030,5")}};
}

const QStringList kHeader = {QStringLiteral("Abfahrtszeit"), QStringLiteral("Abfahrtsort"),
                             QStringLiteral("Ankunftszeit"), QStringLiteral("Ankunftsort"),
                             QStringLiteral("Entfernung"),   QStringLiteral("Fahrtzweck"),
                             QStringLiteral("Art"),          QStringLiteral("<none>"),
                             QStringLiteral("<none>"),       QStringLiteral("<none>")};

class TripExport : public ::testing::Test {
protected:
    Sheet exportAndRead(const RowTable &trips)
    {
        exportTripsToXls(trips, target);
        return readSheetWithXlrd(target);
    }

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("fahrten.xls"));
};

} // namespace

TEST_F(TripExport, EmptyOrAllDeletedListGivesTheHeaderOnly)
{
    RowTable trips;
    Sheet sheet = exportAndRead(trips);
    ASSERT_EQ(sheet.size(), 1);
    EXPECT_EQ(sheet.at(0), kHeader.mid(0, 7));

    trips.append(trip(QStringLiteral("Köln"), QStringLiteral("Ja")));
    trips.append(trip(QStringLiteral("Köln"), QStringLiteral("x")));
    sheet = exportAndRead(trips);
    EXPECT_EQ(sheet.size(), 1);
}

TEST_F(TripExport, LiveTripsFollowWithoutGapsAsText)
{
    RowTable trips;
    trips.append(trip(QStringLiteral("Köln")));
    trips.append(trip(QStringLiteral("gelöscht"), QStringLiteral("Ja")));
    trips.append(trip(QStringLiteral("Aachen")));
    const Sheet sheet = exportAndRead(trips);
    ASSERT_EQ(sheet.size(), 3);
    EXPECT_EQ(sheet.at(0), kHeader);
    EXPECT_EQ(sheet.at(1),
              (QStringList{QStringLiteral("07.12.2026 08:00:00"), QStringLiteral("Köln"),
                           QStringLiteral("07.12.2026 09:00:00"), QStringLiteral("Bonn"),
                           QStringLiteral("30,5"), QStringLiteral("Kunde"),
                           QStringLiteral("Geschäftlich"), QString(), QStringLiteral("1000"),
                           QStringLiteral("1030,5")}));
    EXPECT_EQ(sheet.at(2).at(1), QStringLiteral("Aachen"));
}

TEST_F(TripExport, ShortRowsAreNeverDeletedAndKeepTheirCells)
{
    RowTable trips;
    trips.append(Row{QStringLiteral("01.01.2026"),
                     {QStringLiteral("A"), QString(), QStringLiteral("B"), QStringLiteral("5"),
                      QStringLiteral("Zweck"), QStringLiteral("Ja")}});
    const Sheet sheet = exportAndRead(trips);
    ASSERT_EQ(sheet.size(), 2);
    EXPECT_EQ(sheet.at(1).mid(0, 7),
              (QStringList{QStringLiteral("01.01.2026"), QStringLiteral("A"), QString(),
                           QStringLiteral("B"), QStringLiteral("5"), QStringLiteral("Zweck"),
                           QStringLiteral("Ja")}));
}

TEST_F(TripExport, EveryCharacterArrivesIntact)
{
    RowTable trips;
    const QStringList places = {QStringLiteral("Straße in Köln, Düsseldorf"),
                                QStringLiteral("Parken 5 €"),
                                QStringLiteral("Brno, Koněvova"),
                                QStringLiteral("Łódź"),
                                QStringLiteral("北京"),
                                QStringLiteral("Zweck\r\nzweite Zeile")};
    for (const QString &place : places)
        trips.append(trip(place));
    const Sheet sheet = exportAndRead(trips);
    ASSERT_EQ(sheet.size(), places.size() + 1);
    for (qsizetype i = 0; i < places.size(); ++i)
        EXPECT_EQ(sheet.at(i + 1).at(1), places.at(i)) << i;
}

// Emoji are pairs of UTF-16 units; the shared strings run over many records, and a record
// must never end between the two halves of a pair, or readers refuse the whole file. The
// fillers shift where the record ends fall against the pairs.
TEST_F(TripExport, EmojiAcrossRecordEndsArriveIntact)
{
    for (int filler = 0; filler < 4; ++filler) {
        RowTable trips;
        QStringList places;
        for (int i = 0; i < 1500; ++i) {
            places.append(QString(filler, QLatin1Char('a')) + QStringLiteral("🚗🚕").repeated(10) +
                          QString::number(i));
            trips.append(trip(places.back()));
        }
        const Sheet sheet = exportAndRead(trips);
        ASSERT_EQ(sheet.size(), places.size() + 1) << filler;
        for (qsizetype i = 0; i < places.size(); ++i)
            ASSERT_EQ(sheet.at(i + 1).at(1), places.at(i)) << filler << ' ' << i;
    }
}

// Half a surrogate pair (only a damaged logbook holds one) made strict readers refuse the
// whole sheet. Whole pairs beside the halves stay, and the logbook keeps its texts.
TEST_F(TripExport, LoneSurrogateHalvesArriveAsReplacementCharacters)
{
    const QChar high(0xD83D), low(0xDE97), replacement(QChar::ReplacementCharacter);
    const QStringList damaged = {QStringLiteral("Köln") + high, low + QStringLiteral("Bonn"),
                                 QString(high) + high + low + QStringLiteral("x") + low + low,
                                 QString(high)};
    const QStringList exported = {
        QStringLiteral("Köln") + replacement, replacement + QStringLiteral("Bonn"),
        QString(replacement) + high + low + QStringLiteral("x") + replacement + replacement,
        QString(replacement)};
    RowTable trips;
    for (const QString &place : damaged)
        trips.append(trip(place));
    trips.append(Row{QString(low), {}});
    const Sheet sheet = exportAndRead(trips);
    ASSERT_EQ(sheet.size(), damaged.size() + 2);
    for (qsizetype i = 0; i < damaged.size(); ++i) {
        EXPECT_EQ(sheet.at(i + 1).at(1), exported.at(i)) << i;
        EXPECT_EQ(trips.rows().at(i).subItems.at(0), damaged.at(i)) << i;
    }
    EXPECT_EQ(sheet.back().at(0), QString(replacement));
}

TEST_F(TripExport, ReplacesAnExistingFileWhole)
{
    RowTable trips;
    for (int i = 0; i < 2000; ++i)
        trips.append(trip(QStringLiteral("Ort %1").arg(i)));
    EXPECT_EQ(exportAndRead(trips).size(), 2001);
    RowTable fewer;
    fewer.append(trip(QStringLiteral("nur eine")));
    const Sheet sheet = exportAndRead(fewer);
    ASSERT_EQ(sheet.size(), 2);
    EXPECT_EQ(sheet.at(1).at(1), QStringLiteral("nur eine"));
}

TEST_F(TripExport, UnwritableTargetIsReportedAndTheTripsStay)
{
    RowTable trips;
    trips.append(trip(QStringLiteral("Köln")));
    const Row before = trips.at(0);
    try {
        exportTripsToXls(trips, dir.filePath(QStringLiteral("fehlt/fahrten.xls")));
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Can not create a docfile"));
    }
    EXPECT_EQ(trips.at(0), before);
}

TEST_F(TripExport, ExportCutShortAnywhereFailsAndKeepsThePreviousFile)
{
    RowTable trips;
    trips.append(trip(QStringLiteral("alt")));
    exportTripsToXls(trips, target);
    const QByteArray before = fileBytes(target);

    for (int i = 0; i < 300; ++i)
        trips.append(trip(QStringLiteral("Ort %1").arg(i)));
    const QString probe = dir.filePath(QStringLiteral("probe.xls"));
    exportTripsToXls(trips, probe);
    const qint64 size = fileBytes(probe).size();
    QFile::remove(probe);

    // The start, the container's sector boundaries, and every byte of the last piece, where
    // a write error shows only when the file is closed.
    QList<qint64> limits = {0, 1, 511, 512, 513, 4095, 4096, size / 2};
    for (qint64 limit = std::max<qint64>(size - 4200, 0); limit < size; limit += 7)
        limits.append(limit);
    limits.append(size - 1);
    for (const qint64 limit : limits) {
        QString message;
        {
            const test::FileSizeLimit cut(static_cast<rlim_t>(limit));
            try {
                exportTripsToXls(trips, target);
            } catch (const Error &error) {
                message = error.message();
            }
        }
        ASSERT_FALSE(message.isEmpty()) << "exported under a limit of " << limit << " bytes";
        ASSERT_EQ(fileBytes(target), before) << limit;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fahrten.xls")});
}

TEST_F(TripExport, PipesAndWriteProtectedFilesAreRefusedAndStayAsTheyWere)
{
    RowTable trips;
    trips.append(trip(QStringLiteral("Köln")));
    const QString pipe = dir.filePath(QStringLiteral("pipe.xls"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString protectedPath = dir.filePath(QStringLiteral("schreibgeschuetzt.xls"));
    ASSERT_TRUE(writeFileBytes(protectedPath, "old"));
    QFile::setPermissions(protectedPath, QFileDevice::ReadOwner | QFileDevice::ReadOther);

    for (const QString &refused : {pipe, protectedPath, dir.path()}) {
        try {
            exportTripsToXls(trips, refused);
            ADD_FAILURE() << "exported to " << refused.toStdString();
        } catch (const Error &error) {
            EXPECT_EQ(error.message(), QStringLiteral("File access denied"));
        }
    }
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(fileBytes(protectedPath), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 2);
}

TEST_F(TripExport, MoreTripsThanASheetHoldsAreRefusedBeforeWriting)
{
    RowTable trips;
    {
        const RowTable::BulkUpdate bulk(trips, RowTable::BulkKind::Reset);
        for (qsizetype i = 0; i < kMaxExportedTrips; ++i)
            trips.appendForUpdate() = Row{QStringLiteral("01.01.2026"), {QStringLiteral("A")}};
        // Deleted trips do not count against the limit.
        trips.appendForUpdate() = trip(QStringLiteral("weg"), QStringLiteral("Ja"));
    }
    exportTripsToXls(trips, target);
    EXPECT_TRUE(QFile::exists(target));
    QFile::remove(target);

    trips.append(Row{QStringLiteral("01.01.2026"), {QStringLiteral("eine zu viel")}});
    EXPECT_THROW(exportTripsToXls(trips, target), Error);
    EXPECT_FALSE(QFile::exists(target));
}
