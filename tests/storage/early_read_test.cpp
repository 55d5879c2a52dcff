// A window's start file is decoded in a thread of its own while the window is made; the
// document that opens it takes that over. Taken over or read anew, the document must come out
// the same, and a file that changed in between must be read anew.
#include "test_support.h"

#include "core/error.h"
#include "model/odometer.h"
#include "storage/early_logbook_read.h"
#include "storage/logbook_document.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb;
using namespace fb::test;

namespace {

constexpr int kScreenPixelsPerInch = 120;

// A logged logbook, saved: the sample's trips entered as changes, so that the file carries
// an entry log, then its templates and master data.
QString savedLoggedLogbook(const QTemporaryDir &dir, const QString &distance)
{
    const QString path = dir.filePath(QStringLiteral("early.fbu"));
    LogbookDocument document;
    fillSample(document.logbook());
    for (const Row &entered : {outwardTrip(distance), outwardTrip(QStringLiteral("12,5"))}) {
        try {
            document.apply(NewTrip{entered});
        } catch (const ConversionError &) {
            // The trip is in; only its readings could not be worked out.
        }
    }
    document.logbook().headingFont.sizePoints = 14;
    document.SaveTheFileAs(path);
    return path;
}

// Reads path into document, taking over early when given; returns the error text, if any.
QString readInto(LogbookDocument &document, const QString &path,
                 std::unique_ptr<DecodedLogbook> early = nullptr)
{
    try {
        OpenedLogbookFile file(path);
        document.readFrom(file, UnreadableDistance::Fail, std::move(early));
    } catch (const Error &error) {
        return error.message();
    }
    return QString();
}

void expectAlike(LogbookDocument &taken, LogbookDocument &read)
{
    const Logbook &a = taken.logbook();
    const Logbook &b = read.logbook();
    EXPECT_TRUE(a.trips.rows() == b.trips.rows());
    EXPECT_TRUE(a.templates.rows() == b.templates.rows());
    EXPECT_EQ(a.master.company, b.master.company);
    EXPECT_EQ(a.master.startKm, b.master.startKm);
    // Sizes in points, measured at the window's own screen.
    EXPECT_EQ(a.headingFont, b.headingFont);
    EXPECT_EQ(a.textFont, b.textFont);
    EXPECT_EQ(a.entryLog.state(), b.entryLog.state());
    EXPECT_EQ(a.entryLog.events().size(), b.entryLog.events().size());
    EXPECT_EQ(taken.fileName(), read.fileName());
    EXPECT_EQ(taken.diskState(), read.diskState());
    EXPECT_FALSE(taken.isChanged());
}

} // namespace

TEST(EarlyRead, TakenOverTheDocumentIsAsIfItHadReadTheFile)
{
    QTemporaryDir dir;
    // A distance that reads, and one that does not: the odometer pass stops there and the
    // opening fails with its message either way.
    for (const QString &distance : {QStringLiteral("30,5"), QStringLiteral("dreißig")}) {
        const QString path = savedLoggedLogbook(dir, distance);
        EarlyLogbookRead early(path);
        LogbookDocument taken(kScreenPixelsPerInch);
        const QString takenError = readInto(taken, path, early.take());
        LogbookDocument read(kScreenPixelsPerInch);
        const QString readError = readInto(read, path);
        EXPECT_EQ(takenError, readError) << distance.toStdString();
        EXPECT_EQ(readError.isEmpty(), distance == QStringLiteral("30,5"));
        expectAlike(taken, read);
        EXPECT_EQ(taken.logbook().headingFont.pixelsPerInch, kScreenPixelsPerInch);

        // The next change starts from readings that are right.
        if (readError.isEmpty()) {
            EXPECT_EQ(getlastkm(taken.logbook()), getlastkm(read.logbook()));
            taken.apply(NewTrip{returnTrip(QStringLiteral("7"))});
            read.apply(NewTrip{returnTrip(QStringLiteral("7"))});
            EXPECT_TRUE(taken.logbook().trips.rows() == read.logbook().trips.rows());
        }
    }
}

TEST(EarlyRead, AFileChangedSinceIsReadAnewAndOneThatIsGoneLeavesNothing)
{
    QTemporaryDir dir;
    const QString path = savedLoggedLogbook(dir, QStringLiteral("30,5"));
    EarlyLogbookRead early(path);
    std::unique_ptr<DecodedLogbook> decoded = early.take();
    ASSERT_TRUE(decoded);
    saveLogbookFile(path, [](Logbook &logbook) {
        logbook.master.company = QStringLiteral("Neu GmbH");
        logbook.trips.append(returnTrip(QStringLiteral("9")));
    });
    LogbookDocument document;
    EXPECT_EQ(readInto(document, path, std::move(decoded)), QString());
    EXPECT_EQ(document.logbook().master.company, QStringLiteral("Neu GmbH"));
    EXPECT_EQ(document.logbook().trips.count(), 1);

    EXPECT_FALSE(EarlyLogbookRead(dir.filePath(QStringLiteral("fehlt.fbu"))).take());
    EXPECT_FALSE(EarlyLogbookRead(dir.path()).take());
}

TEST(EarlyRead, TakenOverTextsOutliveTheReadAndTheDocument)
{
    // A text taken over may be copied anywhere, into a dialog or the clipboard, and still be
    // read after the logbook it came from is gone.
    QTemporaryDir dir;
    const QString path = savedLoggedLogbook(dir, QStringLiteral("30,5"));
    QString kept;
    QString expected;
    {
        LogbookDocument document;
        {
            EarlyLogbookRead early(path);
            ASSERT_EQ(readInto(document, path, early.take()), QString());
        }
        kept = document.logbook().trips.at(0).caption;
        expected = QString(kept.constData(), kept.size());
        document.NewAll();
    }
    EXPECT_EQ(kept, expected);
    EXPECT_FALSE(kept.isEmpty());
}
