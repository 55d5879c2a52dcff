#include "model/row_table.h"
#include "storage/logbook_document.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace fb;

TEST(RowTable, SingleChangesAreAnnouncedAroundTheChange)
{
    RowTable table;
    QSignalSpy aboutToInsert(&table, &RowTable::rowsAboutToBeInserted);
    QSignalSpy inserted(&table, &RowTable::rowsInserted);
    QSignalSpy changed(&table, &RowTable::rowsChanged);
    int countWhenAnnounced = -1;
    QObject::connect(&table, &RowTable::rowsAboutToBeInserted,
                     [&] { countWhenAnnounced = static_cast<int>(table.count()); });

    table.append(Row{QStringLiteral("a"), {}});
    table.insert(0, Row{QStringLiteral("b"), {}});
    EXPECT_EQ(countWhenAnnounced, 1); // announced before the row was there
    ASSERT_EQ(aboutToInsert.count(), 2);
    EXPECT_EQ(aboutToInsert.at(1).at(0).toLongLong(), 0);
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(table.at(0).caption, QStringLiteral("b"));

    table.replace(1, Row{QStringLiteral("a"), {QStringLiteral("x")}});
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toLongLong(), 1);
    EXPECT_EQ(table.at(1).subItems, QStringList{QStringLiteral("x")});
}

TEST(RowTable, BulkUpdatesAnnounceOnceWhenTheOutermostEnds)
{
    RowTable table;
    QSignalSpy aboutToReset(&table, &RowTable::aboutToBeReset);
    QSignalSpy reset(&table, &RowTable::wasReset);
    QSignalSpy inserted(&table, &RowTable::rowsInserted);
    QSignalSpy changed(&table, &RowTable::rowsChanged);
    {
        const RowTable::BulkUpdate outer(table, RowTable::BulkKind::Reset);
        table.appendForUpdate().caption = QStringLiteral("1");
        {
            const RowTable::BulkUpdate inner(table, RowTable::BulkKind::RewriteRows);
            table.rowForUpdate(0).caption = QStringLiteral("one");
        }
        table.append(Row{QStringLiteral("2"), {}});
        EXPECT_EQ(reset.count(), 0);
    }
    EXPECT_EQ(aboutToReset.count(), 1);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(changed.count(), 0);

    {
        const RowTable::BulkUpdate rewrite(table, RowTable::BulkKind::RewriteRows);
        table.rowForUpdate(1).caption = QStringLiteral("two");
    }
    // A rewrite keeps the rows (and a view's selection): it is announced as a change.
    EXPECT_EQ(reset.count(), 1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(1).toLongLong(), 1);
}

TEST(LogbookDocument, CaptionFollowsNameAndChangedMark)
{
    LogbookDocument document;
    QSignalSpy captionChanged(&document, &LogbookDocument::captionChanged);
    const QString base = QStringLiteral("Tervona Fahrtenbuch 1.0");
    EXPECT_EQ(document.caption(base), base + QStringLiteral(" - [unbenannt.fbu]"));
    document.SetChanged();
    EXPECT_EQ(document.caption(base), base + QStringLiteral(" - [unbenannt.fbu*]"));
    document.setFileName(QStringLiteral("/daten/Golf.fbu"));
    EXPECT_EQ(document.caption(base), base + QStringLiteral(" - [Golf.fbu*]"));
    document.SetUnChanged();
    EXPECT_EQ(document.caption(base), base + QStringLiteral(" - [Golf.fbu]"));
    EXPECT_EQ(captionChanged.count(), 2);
}

TEST(LogbookDocument, NewKeepsMasterDataPrintSettingsAndFonts)
{
    LogbookDocument document;
    Logbook &logbook = document.logbook();
    logbook.trips.append(Row{QStringLiteral("t"), {}});
    logbook.templates.append(Row{QStringLiteral("v"), {}});
    logbook.master.registrationNumber = QStringLiteral("K-AB 123");
    logbook.print.heading = QStringLiteral("Dienstwagen");
    logbook.textFont.sizePoints = 11;
    document.setFileName(QStringLiteral("/daten/alt.fbu"));
    document.SetChanged();

    document.NewAll();
    EXPECT_TRUE(logbook.trips.isEmpty());
    EXPECT_TRUE(logbook.templates.isEmpty());
    EXPECT_TRUE(document.fileName().isEmpty());
    EXPECT_FALSE(document.isChanged());
    EXPECT_EQ(logbook.master.registrationNumber, QStringLiteral("K-AB 123"));
    EXPECT_EQ(logbook.print.heading, QStringLiteral("Dienstwagen"));
    EXPECT_EQ(logbook.textFont.sizePoints, 11);
}
