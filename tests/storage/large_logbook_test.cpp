// Large trip tables are decoded by two threads from the file held in memory; files read in
// pieces and damaged files go field by field. Both ways must give the same logbook.
#include "test_support.h"

#include "core/file_error.h"
#include "storage/logbook_document.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb;
using namespace fb::test;

namespace {

constexpr int kTrips = 20001; // enough for two threads, and an odd count

// Rows of every shape a file may hold: no sub-items, the usual nine, more than nine, empty
// texts and characters beyond Latin-1.
void fillLarge(Logbook &logbook)
{
    fillSample(logbook);
    for (int i = 0; i < kTrips; ++i) {
        Row row{QStringLiteral("%1.01.2026 08:00:00").arg(1 + i % 28, 2, 10, QLatin1Char('0')), {}};
        const int subItems = i % 97 == 0 ? 0 : i % 31 == 0 ? 12 : 9;
        for (int s = 0; s < subItems; ++s) {
            row.subItems.append(s == 4   ? QStringLiteral("Fahrt Nr. %1 nach Łódź €").arg(i)
                                : s == 6 ? QString()
                                         : QString::number(i * 10 + s));
        }
        logbook.trips.append(row);
    }
}

struct ReadResult {
    Logbook logbook;
    QString error;
};

void read(const QByteArray &bytes, qint64 wholeFileLimit, ReadResult &result)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    try {
        readLogbook(buffer, result.logbook, wholeFileLimit);
    } catch (const FileError &error) {
        result.error = error.message();
    }
}

// Reads bytes both ways: whole (the two-thread decoder) and in pieces (field by field).
void expectBothWaysAlike(const QByteArray &bytes)
{
    ReadResult whole;
    read(bytes, BinaryReader::kWholeFileLimit, whole);
    ReadResult inPieces;
    read(bytes, 0, inPieces);
    EXPECT_EQ(whole.error, inPieces.error);
    ASSERT_EQ(whole.logbook.trips.count(), inPieces.logbook.trips.count());
    EXPECT_TRUE(whole.logbook.trips.rows() == inPieces.logbook.trips.rows());
    EXPECT_TRUE(whole.logbook.templates.rows() == inPieces.logbook.templates.rows());
    EXPECT_EQ(whole.logbook.master.company, inPieces.logbook.master.company);
}

// Where trip `index` starts in the file.
qsizetype tripOffset(const Logbook &logbook, int index)
{
    Logbook head;
    for (int i = 0; i < index; ++i)
        head.trips.append(logbook.trips.at(i));
    // The file of the first `index` trips, without the tables and records after them.
    return toBytes(head).size() - toBytes(Logbook()).size() + 4;
}

} // namespace

TEST(LargeLogbook, EveryRowSurvivesBothWaysOfReading)
{
    Logbook original;
    fillLarge(original);
    const QByteArray bytes = toBytes(original);
    for (const qint64 limit : {BinaryReader::kWholeFileLimit, qint64(0)}) {
        ReadResult result;
        read(bytes, limit, result);
        EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        ASSERT_EQ(result.logbook.trips.count(), original.trips.count());
        EXPECT_TRUE(result.logbook.trips.rows() == original.trips.rows()) << "limit " << limit;
        EXPECT_TRUE(result.logbook.templates.rows() == original.templates.rows());
        EXPECT_EQ(result.logbook.master.company, original.master.company);
        EXPECT_EQ(result.logbook.textFont, original.textFont);
    }
}

TEST(LargeLogbook, DamageAnywhereReadsAsFieldByField)
{
    Logbook original;
    fillLarge(original);
    const QByteArray bytes = toBytes(original);
    const qsizetype lateTrip = tripOffset(original, kTrips - 3);

    // Cut in the second half of the trips, in the first half, and within the templates.
    for (const qsizetype cut : {lateTrip + 9, tripOffset(original, 123) + 4, bytes.size() - 150})
        expectBothWaysAlike(bytes.left(cut));

    // A negative text length and a sub-item count far too large, late in the table.
    QByteArray negative = bytes;
    negative.replace(lateTrip + 4, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
    expectBothWaysAlike(negative);
    QByteArray huge = bytes;
    huge.replace(lateTrip, 4, QByteArray("\x00\x00\x00\x10", 4));
    expectBothWaysAlike(huge);

    ReadResult cutResult;
    read(bytes.left(lateTrip + 9), BinaryReader::kWholeFileLimit, cutResult);
    EXPECT_EQ(cutResult.error, QStringLiteral("Read beyond end of file"));
    EXPECT_EQ(cutResult.logbook.trips.count(), kTrips - 2); // the cut row stays as far as read
}

// A batch run's texts refer to the file's bytes instead of copying them. They must read as
// copies would, turn into copies where the odometer pass or an edit changes them, and stay
// readable when the read fails after the trips.
TEST(LargeLogbook, TextsInTheFileBytesActLikeCopies)
{
    Logbook original;
    for (int i = 0; i < kTrips; ++i) {
        original.trips.append(trip(QStringLiteral("07.12.2026 08:00:00"), QStringLiteral("Köln"),
                                   QStringLiteral("07.12.2026 09:00:00"), QStringLiteral("Łódź"),
                                   QString::number(i % 50), QStringLiteral("Kunde %1").arg(i),
                                   QStringLiteral("Geschäftlich")));
    }
    const QByteArray bytes = toBytes(original);
    QTemporaryDir dir;
    const QString whole = dir.filePath(QStringLiteral("whole.fbu"));
    const QString cut = dir.filePath(QStringLiteral("cut.fbu"));
    ASSERT_TRUE(writeFileBytes(whole, bytes));
    ASSERT_TRUE(writeFileBytes(cut, bytes.left(bytes.size() - 20))); // within the text font

    LogbookDocument copied;
    copied.OpenFileWithName(whole);
    LogbookDocument referring;
    referring.keepTextsInFileBytes();
    referring.OpenFileWithName(whole);
    EXPECT_TRUE(referring.logbook().trips.rows() == copied.logbook().trips.rows());
    EXPECT_TRUE(referring.logbook().templates.rows() == copied.logbook().templates.rows());

    Row changed = referring.logbook().trips.at(5);
    changed.subItems[4].append(QStringLiteral(" (geändert)"));
    referring.logbook().trips.replace(5, changed);
    EXPECT_EQ(referring.logbook().trips.at(5).subItems.at(4),
              copied.logbook().trips.at(5).subItems.at(4) + QStringLiteral(" (geändert)"));
    EXPECT_EQ(referring.logbook().trips.at(6), copied.logbook().trips.at(6));

    // The bytes of the first file stay while its texts may still be copied somewhere.
    const Row fromTheFirstFile = referring.logbook().trips.at(7);
    EXPECT_THROW(referring.OpenFileWithName(cut), FileError);
    LogbookDocument copiedCut;
    EXPECT_THROW(copiedCut.OpenFileWithName(cut), FileError);
    ASSERT_EQ(referring.logbook().trips.count(), kTrips);
    EXPECT_TRUE(referring.logbook().trips.rows() == copiedCut.logbook().trips.rows());
    EXPECT_EQ(fromTheFirstFile, copied.logbook().trips.at(7));
}
