#include "test_support.h"

#include "core/error.h"
#include "model/logbook_operation.h"
#include "model/odometer.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <utility>

#include <gtest/gtest.h>

using namespace fb;
using namespace fb::test;

namespace {

// A logbook read from bytes, with the reader holding the whole file or only pieces of it, as
// the bytes it writes back and the error message of the read, if any.
std::pair<QByteArray, QString> readThenWrite(const QByteArray &bytes, qint64 wholeFileLimit)
{
    Logbook logbook;
    logbook.print.rangeFrom = logbook.print.rangeTo = 0; // not the clock's: results compare
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    try {
        readLogbook(buffer, logbook, wholeFileLimit);
    } catch (const Error &e) {
        error = e.message();
    }
    return {toBytes(logbook), error};
}

} // namespace

// Damaged files must end the load with an error, never with a crash or a hang: cut a valid
// file at every length and flip bytes at random (fixed seed, so failures repeat). As the fuzz
// target checks, the file read at once and in pieces gives the same logbook and error, and a
// logbook that loads writes a file that reads back to the same bytes.
TEST(DamagedFiles, TruncationsAndByteFlipsReadTheSameEitherWayAndWhatLoadsReadsBack)
{
    Logbook sample;
    fillSample(sample);
    sample.trips.append(Row{QStringLiteral("x"), QStringList(11, QStringLiteral("y"))});
    // An entry log behind the fonts, so that damaged logs are read too.
    const QDateTime moment(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);
    applyOperation(sample, {NewTrip{sample.trips.at(0)}, moment});
    applyOperation(sample, {DeleteTrip{0}, moment});
    MasterData master = sample.master;
    master.town = QStringLiteral("Köln");
    applyOperation(sample, {SetMasterData{master}, moment});
    const QByteArray valid = toBytes(sample);

    const auto check = [](const QByteArray &bytes, const char *what, qint64 detail) {
        const auto whole = readThenWrite(bytes, BinaryReader::kWholeFileLimit);
        const auto pieces = readThenWrite(bytes, 0);
        ASSERT_EQ(whole.second, pieces.second) << what << " " << detail;
        ASSERT_EQ(whole.first, pieces.first) << what << " " << detail;
        if (whole.second.isEmpty()) {
            ASSERT_EQ(readThenWrite(whole.first, BinaryReader::kWholeFileLimit).first, whole.first)
                << what << " " << detail;
        }
    };

    for (qsizetype length = 0; length < valid.size(); ++length)
        check(valid.left(length), "cut at", length);

    QRandomGenerator random(20261208);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = valid;
        const int flips = 1 + random.bounded(4);
        for (int i = 0; i < flips; ++i) {
            const auto position = random.bounded(static_cast<int>(damaged.size()));
            damaged[position] = static_cast<char>(random.bounded(256));
        }
        check(damaged.left(random.bounded(static_cast<int>(damaged.size()) + 1)), "round", round);
    }
}

// Large trip tables are decoded by two threads when the whole file is in memory, row by row
// otherwise: a damaged large file must give the same logbook and error either way.
TEST(DamagedFiles, LargeTablesReadTheSameWholeAndInPieces)
{
    Logbook sample;
    fillSample(sample);
    for (int i = 0; i < 9000; ++i)
        sample.trips.append(Row{QString::number(i), QStringList(i % 12, QStringLiteral("ab"))});
    const QByteArray valid = toBytes(sample);

    QRandomGenerator random(9000);
    for (int round = 0; round < 200; ++round) {
        QByteArray damaged = valid;
        if (round > 0) {
            for (int flips = 1 + random.bounded(3); flips > 0; --flips)
                damaged[random.bounded(static_cast<int>(damaged.size()))] =
                    static_cast<char>(random.bounded(256));
        }
        if (round % 2)
            damaged.truncate(random.bounded(static_cast<int>(damaged.size())));
        const auto whole = readThenWrite(damaged, BinaryReader::kWholeFileLimit);
        const auto pieces = readThenWrite(damaged, 0);
        ASSERT_EQ(whole.second, pieces.second) << "round " << round;
        ASSERT_EQ(whole.first, pieces.first) << "round " << round;
    }
    EXPECT_EQ(readThenWrite(valid, BinaryReader::kWholeFileLimit).first.size(), valid.size());
}
